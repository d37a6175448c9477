// Splitting the controller's command line into its switches.
#include "controller/shell/command_line.h"

#include <algorithm>

namespace ph {

CommandLine ParseCommandLine(std::string_view arguments) {
  CommandLine result;
  std::size_t at = 0;
  while (at < arguments.size()) {
    const std::size_t start = arguments.find_first_not_of(' ', at);
    if (start == std::string_view::npos) break;
    const std::size_t end = std::min(arguments.find(' ', start), arguments.size());
    const std::string_view word = arguments.substr(start, end - start);
    if (word == "/register") result.register_path = true;
    if (word == "/noflash") result.no_flash = true;
    at = end;
  }
  return result;
}

}  // namespace ph
