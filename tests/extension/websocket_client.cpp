// The WebSocket handshake and framing of the client side: masked frames out, unmasked frames in.
#include "tests/extension/websocket_client.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>

#include <algorithm>
#include <cerrno>
#include <random>
#include <utility>

namespace ph::test {
namespace {

constexpr int kContinuation = 0x0, kText = 0x1, kBinary = 0x2, kClose = 0x8, kPing = 0x9, kPong = 0xa;

std::string RandomBytes(std::size_t count) {
  static std::random_device device;
  std::string bytes(count, '\0');
  for (char& c : bytes) c = static_cast<char>(device() & 0xff);
  return bytes;
}

std::string Base64(std::string_view bytes) {
  static constexpr char kDigits[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  std::string out;
  for (std::size_t i = 0; i < bytes.size(); i += 3) {
    unsigned n = static_cast<unsigned char>(bytes[i]) << 16;
    if (i + 1 < bytes.size()) n |= static_cast<unsigned char>(bytes[i + 1]) << 8;
    if (i + 2 < bytes.size()) n |= static_cast<unsigned char>(bytes[i + 2]);
    out += kDigits[(n >> 18) & 63];
    out += kDigits[(n >> 12) & 63];
    out += i + 1 < bytes.size() ? kDigits[(n >> 6) & 63] : '=';
    out += i + 2 < bytes.size() ? kDigits[n & 63] : '=';
  }
  return out;
}

bool SendAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t sent = ::send(fd, bytes.data(), bytes.size(), MSG_NOSIGNAL);
    if (sent < 0 && errno == EINTR) continue;
    if (sent <= 0) return false;
    bytes.remove_prefix(static_cast<std::size_t>(sent));
  }
  return true;
}

}  // namespace

std::optional<WebSocketClient> WebSocketClient::Connect(std::uint16_t port, const std::string& path,
                                                        std::string* error) {
  UniqueFd fd(::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0));
  sockaddr_in address = {};
  address.sin_family = AF_INET;
  address.sin_port = htons(port);
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  if (!fd || ::connect(fd.get(), reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
    *error = "cannot connect to port " + std::to_string(port);
    return std::nullopt;
  }
  // The server's Sec-WebSocket-Accept is not checked: the server is our own child on loopback.
  const std::string request = "GET " + path + " HTTP/1.1\r\nHost: 127.0.0.1:" + std::to_string(port) +
                              "\r\nUpgrade: websocket\r\nConnection: Upgrade\r\nSec-WebSocket-Key: " +
                              Base64(RandomBytes(16)) + "\r\nSec-WebSocket-Version: 13\r\n\r\n";
  WebSocketClient client(std::move(fd));
  const auto deadline = Clock::now() + std::chrono::seconds(10);
  if (!SendAll(client.socket_.get(), request)) {
    *error = "cannot send the upgrade request";
    return std::nullopt;
  }
  std::size_t end;
  while ((end = client.buffered_.find("\r\n\r\n")) == std::string::npos)
    if (!client.Fill(client.buffered_.size() + 1, deadline)) {
      *error = "no answer to the upgrade request";
      return std::nullopt;
    }
  const std::string head = client.buffered_.substr(0, end);
  client.buffered_.erase(0, end + 4);
  if (head.rfind("HTTP/1.1 101", 0) != 0) {
    *error = "upgrade refused: " + head.substr(0, head.find("\r\n"));
    return std::nullopt;
  }
  return client;
}

bool WebSocketClient::SendFrame(int opcode, std::string_view payload) {
  std::string frame(1, static_cast<char>(0x80 | opcode));  // FIN: never fragmented
  const std::size_t n = payload.size();
  if (n < 126) {
    frame += static_cast<char>(0x80 | n);
  } else if (n < 65536) {
    frame += static_cast<char>(0x80 | 126);
    for (int shift : {8, 0}) frame += static_cast<char>((n >> shift) & 0xff);
  } else {
    frame += static_cast<char>(0x80 | 127);
    for (int shift = 56; shift >= 0; shift -= 8) frame += static_cast<char>((static_cast<std::uint64_t>(n) >> shift) & 0xff);
  }
  const std::string mask = RandomBytes(4);
  frame += mask;
  for (std::size_t i = 0; i < n; ++i) frame += static_cast<char>(payload[i] ^ mask[i % 4]);
  return SendAll(socket_.get(), frame);
}

bool WebSocketClient::Send(std::string_view text) { return !closed_ && SendFrame(kText, text); }

bool WebSocketClient::Fill(std::size_t count, Clock::time_point deadline) {
  char chunk[65536];
  while (buffered_.size() < count) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    if (left < 0) return false;
    pollfd ready = {socket_.get(), POLLIN, 0};
    const int polled = ::poll(&ready, 1, static_cast<int>(std::min<long long>(left, 1000)));
    if (polled < 0 && errno != EINTR) return false;
    if (polled <= 0) continue;
    const ssize_t got = ::recv(socket_.get(), chunk, sizeof chunk, 0);
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) {
      closed_ = true;
      return false;
    }
    buffered_.append(chunk, static_cast<std::size_t>(got));
  }
  return true;
}

std::optional<std::string> WebSocketClient::Receive(Clock::time_point deadline) {
  while (!closed_) {
    if (!Fill(2, deadline)) return std::nullopt;
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(buffered_[i]); };
    const bool fin = byte(0) & 0x80;
    const int opcode = byte(0) & 0x0f;
    std::size_t header = 2;
    std::uint64_t length = byte(1) & 0x7f;
    const int extra = length == 126 ? 2 : length == 127 ? 8 : 0;
    if (!Fill(header + extra, deadline)) return std::nullopt;
    if (extra) {
      length = 0;
      for (int i = 0; i < extra; ++i) length = (length << 8) | byte(header + i);
      header += extra;
    }
    const bool masked = byte(1) & 0x80;  // a server never masks; taken off all the same
    std::string mask;
    if (masked) {
      if (!Fill(header + 4, deadline)) return std::nullopt;
      mask = buffered_.substr(header, 4);
      header += 4;
    }
    if (!Fill(header + length, deadline)) return std::nullopt;
    std::string payload = buffered_.substr(header, length);
    buffered_.erase(0, header + length);
    if (masked)
      for (std::size_t i = 0; i < payload.size(); ++i) payload[i] = static_cast<char>(payload[i] ^ mask[i % 4]);
    switch (opcode) {
      case kPing:
        SendFrame(kPong, payload);
        break;
      case kClose:
        SendFrame(kClose, payload.substr(0, 2));
        closed_ = true;
        break;
      case kText:
      case kBinary:
      case kContinuation:
        message_ += payload;
        if (fin) return std::exchange(message_, std::string());
        break;
      default:
        break;  // a pong, or a control frame this client never asked for
    }
  }
  return std::nullopt;
}

}  // namespace ph::test
