// The few socket calls the loopback HTTP server needs, over BSD sockets.
#include "tests/support/loopback_socket.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace ph::test {
namespace {

bool ReadyWithin(Socket s, int timeout_ms) {
  pollfd p{static_cast<int>(s), POLLIN, 0};
  return ::poll(&p, 1, timeout_ms) > 0;
}

}  // namespace

Socket ListenOnLoopback(std::uint16_t* port) {
  const int s = ::socket(AF_INET, SOCK_STREAM, 0);
  if (s < 0) return kNoSocket;
  sockaddr_in addr{};
  addr.sin_family = AF_INET;
  addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  addr.sin_port = 0;
  socklen_t len = sizeof addr;
  if (::bind(s, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0 || ::listen(s, 16) != 0 ||
      ::getsockname(s, reinterpret_cast<sockaddr*>(&addr), &len) != 0) {
    ::close(s);
    return kNoSocket;
  }
  *port = ntohs(addr.sin_port);
  return s;
}

Socket AcceptWithin(Socket listener, int timeout_ms) {
  if (!ReadyWithin(listener, timeout_ms)) return kNoSocket;
  const int s = ::accept(static_cast<int>(listener), nullptr, nullptr);
  return s < 0 ? kNoSocket : s;
}

int ReceiveWithin(Socket s, char* buffer, int size, int timeout_ms) {
  if (!ReadyWithin(s, timeout_ms)) return -1;
  const ssize_t n = ::recv(static_cast<int>(s), buffer, static_cast<std::size_t>(size), 0);
  return n < 0 ? -1 : static_cast<int>(n);
}

bool SendAll(Socket s, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t n = ::send(static_cast<int>(s), bytes.data(), bytes.size(), MSG_NOSIGNAL);
    if (n <= 0) return false;
    bytes.remove_prefix(static_cast<std::size_t>(n));
  }
  return true;
}

void CloseSocket(Socket s) {
  if (s != kNoSocket) ::close(static_cast<int>(s));
}

}  // namespace ph::test
