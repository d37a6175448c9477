// The few socket calls the loopback HTTP server needs, over Winsock.
#include "tests/support/loopback_socket.h"

#include <winsock2.h>
#include <ws2tcpip.h>

namespace ph::test {
namespace {

bool Started() {
  static const bool started = [] {
    WSADATA data;
    return ::WSAStartup(MAKEWORD(2, 2), &data) == 0;
  }();
  return started;
}

SOCKET S(Socket s) { return static_cast<SOCKET>(s); }

bool ReadyWithin(Socket s, int timeout_ms) {
  fd_set set;
  FD_ZERO(&set);
  FD_SET(S(s), &set);
  timeval tv{timeout_ms / 1000, (timeout_ms % 1000) * 1000};
  return ::select(0, &set, nullptr, nullptr, &tv) > 0;
}

}  // namespace

Socket ListenOnLoopback(std::uint16_t* port) {
  if (!Started()) return kNoSocket;
  const SOCKET s = ::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
  if (s == INVALID_SOCKET) return kNoSocket;
  sockaddr_in addr{};
  addr.sin_family = AF_INET;
  addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  addr.sin_port = 0;
  int len = sizeof addr;
  if (::bind(s, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0 || ::listen(s, 16) != 0 ||
      ::getsockname(s, reinterpret_cast<sockaddr*>(&addr), &len) != 0) {
    ::closesocket(s);
    return kNoSocket;
  }
  *port = ntohs(addr.sin_port);
  return static_cast<Socket>(s);
}

Socket AcceptWithin(Socket listener, int timeout_ms) {
  if (!ReadyWithin(listener, timeout_ms)) return kNoSocket;
  const SOCKET s = ::accept(S(listener), nullptr, nullptr);
  return s == INVALID_SOCKET ? kNoSocket : static_cast<Socket>(s);
}

int ReceiveWithin(Socket s, char* buffer, int size, int timeout_ms) {
  if (!ReadyWithin(s, timeout_ms)) return -1;
  const int n = ::recv(S(s), buffer, size, 0);
  return n < 0 ? -1 : n;
}

bool SendAll(Socket s, std::string_view bytes) {
  while (!bytes.empty()) {
    const int n = ::send(S(s), bytes.data(), static_cast<int>(bytes.size()), 0);
    if (n <= 0) return false;
    bytes.remove_prefix(static_cast<std::size_t>(n));
  }
  return true;
}

void CloseSocket(Socket s) {
  if (s != kNoSocket) ::closesocket(S(s));
}

}  // namespace ph::test
