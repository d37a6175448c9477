// Reading the browser's command line of the native host.
#include "band/host/program/host_arguments.h"

#include <charconv>

namespace ph::host {
namespace {

constexpr std::string_view kParentWindow = "--parent-window=";

}  // namespace

std::optional<HostArguments> ParseHostArguments(const std::vector<std::string>& arguments) {
  HostArguments parsed;
  bool have_origin = false;
  for (const std::string& argument : arguments) {
    const std::string_view text = argument;
    if (text.substr(0, kParentWindow.size()) == kParentWindow) {
      // A window that cannot be read is no reason to refuse the caller: it only owns dialogs.
      const std::string_view number = text.substr(kParentWindow.size());
      std::uintptr_t window = 0;
      const auto [end, error] = std::from_chars(number.data(), number.data() + number.size(), window);
      if (error == std::errc() && end == number.data() + number.size()) parsed.parent_window = window;
    } else if (text.substr(0, 2) != "--" && !have_origin) {
      parsed.origin = argument;
      have_origin = true;
    }
  }
  if (!have_origin) return std::nullopt;
  return parsed;
}

}  // namespace ph::host
