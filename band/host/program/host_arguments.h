// The command line a browser starts the native host with: the caller's origin and its window.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace ph::host {

// The only caller the host serves: the extension, whose id its manifest's key fixes.
inline constexpr char kExtensionOrigin[] = "chrome-extension://alkfoobnckhimlcamnljecggfgppgdog/";

struct HostArguments {
  std::string origin;                // "chrome-extension://<id>/"
  std::uintptr_t parent_window = 0;  // --parent-window=N: the calling browser window; 0 when not given
};

// Reads the arguments after the program's name: the origin is the first that is not an option.
// Options it does not know are skipped, since browsers add some over time. Nothing when there is no
// origin.
std::optional<HostArguments> ParseHostArguments(const std::vector<std::string>& arguments);

}  // namespace ph::host
