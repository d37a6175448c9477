// Formatting of the physical memory figure.
#include "controller/shell/memory_text.h"

namespace ph {

std::string FormatMemoryKb(std::uint64_t bytes) {
  const std::string digits = std::to_string(bytes / 1024);
  std::string out;
  // The first group holds what is left over after whole groups of three, or three when nothing is.
  std::size_t group = digits.size() % 3 == 0 ? 3 : digits.size() % 3;
  for (std::size_t at = 0; at < digits.size(); at += group, group = 3) {
    if (at != 0) out += ',';
    out.append(digits, at, group);
  }
  return out + " KB";
}

}  // namespace ph
