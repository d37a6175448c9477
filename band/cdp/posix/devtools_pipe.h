// The DevTools message stream over two descriptors: JSON texts, each ended by a NUL byte.
#pragma once

#include <chrono>
#include <csignal>
#include <deque>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

#include "platform/posix/unique_fd.h"

namespace ph::cdp {

using Clock = std::chrono::steady_clock;

// Anything that stops a conversation with the browser: a timeout, a closed pipe, an error reply, an
// interruption. Thrown inside the DevTools client and caught where a page is asked for.
class DevToolsError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Cuts a byte stream into NUL-ended messages, however the bytes arrive.
class MessageFramer {
 public:
  explicit MessageFramer(std::size_t max_message) : max_message_(max_message) {}
  // Adds bytes; throws when a message grows beyond the limit (a browser gone wrong, not a page).
  void Feed(std::string_view bytes);
  std::optional<std::string> Next();

 private:
  std::size_t max_message_;
  std::string partial_;
  std::deque<std::string> ready_;
};

// Owns the two descriptors. Every wait has a deadline; the stop flag (set by a signal handler)
// ends a wait at once.
class DevToolsPipe {
 public:
  static constexpr std::size_t kMaxMessage = 512u * 1024 * 1024;

  DevToolsPipe(UniqueFd read_fd, UniqueFd write_fd, const volatile std::sig_atomic_t* stop = nullptr);

  void Send(std::string_view message, Clock::time_point deadline);
  // The next message, or nothing when the deadline passes first.
  std::optional<std::string> Receive(Clock::time_point deadline);
  // From now on only deadlines end waits: the last words with the browser after an interruption.
  void IgnoreStop() { stop_ = nullptr; }

 private:
  // Waits until the descriptor is ready for events; false when the deadline passed.
  bool WaitFor(int fd, short events, Clock::time_point deadline);

  UniqueFd read_fd_;
  UniqueFd write_fd_;
  const volatile std::sig_atomic_t* stop_;
  MessageFramer framer_{kMaxMessage};
};

}  // namespace ph::cdp
