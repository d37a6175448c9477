// Reading and writing NUL-ended DevTools messages on non-blocking pipes, with deadlines.
#include "band/cdp/posix/devtools_pipe.h"

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace ph::cdp {

void MessageFramer::Feed(std::string_view bytes) {
  while (!bytes.empty()) {
    const std::size_t end = bytes.find('\0');
    const std::string_view piece = bytes.substr(0, end);
    if (partial_.size() + piece.size() > max_message_) throw DevToolsError("the browser sent a message too large to read");
    partial_.append(piece);
    if (end == std::string_view::npos) return;
    ready_.push_back(std::move(partial_));
    partial_.clear();
    bytes.remove_prefix(end + 1);
  }
}

std::optional<std::string> MessageFramer::Next() {
  if (ready_.empty()) return std::nullopt;
  std::string message = std::move(ready_.front());
  ready_.pop_front();
  return message;
}

DevToolsPipe::DevToolsPipe(UniqueFd read_fd, UniqueFd write_fd, const volatile std::sig_atomic_t* stop)
    : read_fd_(std::move(read_fd)), write_fd_(std::move(write_fd)), stop_(stop) {
  // A browser that went away must show as an error here, not end the whole program.
  std::signal(SIGPIPE, SIG_IGN);
  for (int fd : {read_fd_.get(), write_fd_.get()}) ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) | O_NONBLOCK);
}

bool DevToolsPipe::WaitFor(int fd, short events, Clock::time_point deadline) {
  for (;;) {
    if (stop_ && *stop_) throw DevToolsError("interrupted");
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    if (left <= 0) return false;
    pollfd p{fd, events, 0};
    const int n = ::poll(&p, 1, static_cast<int>(left < 1000 ? left : 1000));
    if (n > 0) return true;
    if (n < 0 && errno != EINTR) throw DevToolsError(std::string("cannot wait for the browser: ") + std::strerror(errno));
  }
}

void DevToolsPipe::Send(std::string_view message, Clock::time_point deadline) {
  std::string framed(message);
  framed.push_back('\0');
  std::string_view rest = framed;
  while (!rest.empty()) {
    const ssize_t n = ::write(write_fd_.get(), rest.data(), rest.size());
    if (n > 0) {
      rest.remove_prefix(static_cast<std::size_t>(n));
      continue;
    }
    if (n < 0 && errno != EAGAIN && errno != EINTR) throw DevToolsError("the browser is gone (its pipe is closed)");
    if (!WaitFor(write_fd_.get(), POLLOUT, deadline)) throw DevToolsError("the browser does not read its commands");
  }
}

std::optional<std::string> DevToolsPipe::Receive(Clock::time_point deadline) {
  char buffer[64 * 1024];
  for (;;) {
    if (auto message = framer_.Next()) return message;
    const ssize_t n = ::read(read_fd_.get(), buffer, sizeof buffer);
    if (n > 0) {
      framer_.Feed(std::string_view(buffer, static_cast<std::size_t>(n)));
      continue;
    }
    if (n == 0) throw DevToolsError("the browser is gone (its pipe is closed)");
    if (errno != EAGAIN && errno != EINTR) throw DevToolsError(std::string("cannot read from the browser: ") + std::strerror(errno));
    if (!WaitFor(read_fd_.get(), POLLIN, deadline)) return std::nullopt;
  }
}

}  // namespace ph::cdp
