// A WebSocket client for a server on this machine (RFC 6455): text messages, each sent in one masked frame.
#pragma once

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/posix/unique_fd.h"

namespace ph::test {

class WebSocketClient {
 public:
  using Clock = std::chrono::steady_clock;

  // Connects to 127.0.0.1:port and upgrades the request for path; empty with the reason in *error
  // when the server refuses.
  static std::optional<WebSocketClient> Connect(std::uint16_t port, const std::string& path, std::string* error);

  bool Send(std::string_view text);
  // The next text message, its fragments joined; nothing when the deadline passes or the connection
  // ends first (closed() then says so). Pings are answered on the way.
  std::optional<std::string> Receive(Clock::time_point deadline);
  bool closed() const { return closed_; }

 private:
  explicit WebSocketClient(UniqueFd socket) : socket_(std::move(socket)) {}
  // Sends one frame of the opcode with a fresh mask.
  bool SendFrame(int opcode, std::string_view payload);
  // Reads until `buffered_` holds count bytes; false at the deadline or the end of the connection.
  bool Fill(std::size_t count, Clock::time_point deadline);

  UniqueFd socket_;
  std::string buffered_;
  std::string message_;  // fragments of a message not yet ended
  bool closed_ = false;
};

}  // namespace ph::test
