// Who may speak to the native host, and the manifest by which browsers find it.
#pragma once

#include <string>
#include <vector>

namespace ph::host {

inline constexpr char kHostName[] = "org.pageharvest.host";
// Fixed by the key in the extension's manifest.
inline constexpr char kExtensionId[] = "alkfoobnckhimlcamnljecggfgppgdog";
inline constexpr char kExtensionOrigin[] = "chrome-extension://alkfoobnckhimlcamnljecggfgppgdog/";

// Whether the arguments the browser started the host with name our extension as the caller
// (Chromium, Chrome and Edge pass its origin first; Windows adds --parent-window=N).
bool CallerIsExtension(const std::vector<std::string>& arguments);

// The host manifest of Chromium-family browsers for a host program at an absolute path.
std::string HostManifest(const std::string& program_path);

}  // namespace ph::host
