// The few socket calls the loopback HTTP server needs, over BSD sockets natively and Winsock on Windows.
#pragma once

#include <cstdint>
#include <string_view>
#include <utility>

namespace ph::test {

using Socket = std::intptr_t;
inline constexpr Socket kNoSocket = -1;

// A listening socket on 127.0.0.1 with a port the system picks; kNoSocket on failure.
Socket ListenOnLoopback(std::uint16_t* port);
// The next connection, or kNoSocket when none arrives within the time.
Socket AcceptWithin(Socket listener, int timeout_ms);
// Bytes received (at most size), 0 when the peer closed, -1 on error or when nothing came in time.
int ReceiveWithin(Socket s, char* buffer, int size, int timeout_ms);
bool SendAll(Socket s, std::string_view bytes);
void CloseSocket(Socket s);

// Owns a socket: closes it when it goes.
class UniqueSocket {
 public:
  explicit UniqueSocket(Socket s = kNoSocket) : s_(s) {}
  ~UniqueSocket() { CloseSocket(s_); }
  UniqueSocket(UniqueSocket&& o) noexcept : s_(std::exchange(o.s_, kNoSocket)) {}
  UniqueSocket& operator=(UniqueSocket&& o) noexcept {
    if (this != &o) {
      CloseSocket(s_);
      s_ = std::exchange(o.s_, kNoSocket);
    }
    return *this;
  }
  UniqueSocket(const UniqueSocket&) = delete;
  UniqueSocket& operator=(const UniqueSocket&) = delete;

  Socket get() const { return s_; }
  explicit operator bool() const { return s_ != kNoSocket; }

 private:
  Socket s_;
};

}  // namespace ph::test
