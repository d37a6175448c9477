// Who may speak to the native host, and the manifests by which browsers find it.
#pragma once

#include <string>
#include <vector>

namespace ph::host {

inline constexpr char kHostName[] = "org.pageharvest.host";
// Chromium, Chrome and Edge: fixed by the key in the extension's manifest.
inline constexpr char kExtensionId[] = "alkfoobnckhimlcamnljecggfgppgdog";
inline constexpr char kExtensionOrigin[] = "chrome-extension://alkfoobnckhimlcamnljecggfgppgdog/";
// Firefox: the manifest's browser_specific_settings.gecko.id.
inline constexpr char kGeckoExtensionId[] = "pageharvest@pageharvest.org";

// Whether the arguments the browser started the host with name our extension as the caller.
// Chromium, Chrome and Edge pass its origin first (Windows adds --parent-window=N); Firefox passes
// the path of the host's manifest, then the extension's id.
bool CallerIsExtension(const std::vector<std::string>& arguments);

// The host manifest for a host program at an absolute path: Chromium's family names the extension by
// its origin (allowed_origins), Firefox by its id (allowed_extensions), and each refuses the other's key.
std::string HostManifest(const std::string& program_path);
std::string FirefoxHostManifest(const std::string& program_path);

}  // namespace ph::host
