// Standard input and output through their descriptors, reads and writes resumed after signals.
#include "band/host/stdio_bytes.h"

#include <errno.h>
#include <signal.h>
#include <unistd.h>

namespace ph::host {

StdioBytes::StdioBytes() {
  // A browser that closed the port gets a failed write, not the end of the host mid-save.
  ::signal(SIGPIPE, SIG_IGN);
}

bool StdioBytes::ReadExactly(char* data, std::size_t size) {
  while (size > 0) {
    const ssize_t n = ::read(0, data, size);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    data += n;
    size -= static_cast<std::size_t>(n);
  }
  return true;
}

bool StdioBytes::WriteAll(const char* data, std::size_t size) {
  while (size > 0) {
    const ssize_t n = ::write(1, data, size);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    data += n;
    size -= static_cast<std::size_t>(n);
  }
  return true;
}

}  // namespace ph::host
