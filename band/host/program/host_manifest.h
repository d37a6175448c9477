// The host manifest that tells Chrome and Edge where the native host is and who may start it.
#pragma once

#include <string>

namespace ph {
class FileSystem;
}

namespace ph::host {

inline constexpr char kHostName[] = "org.pageharvest.host";
inline constexpr char kHostManifestFile[] = "org.pageharvest.host.json";

// The manifest's JSON text for the host program at program_path (UTF-8).
std::string HostManifestJson(const std::string& program_path);

// Writes the manifest of the running program into its own folder, whole or not at all; the
// registry values that point the browsers at it are the installer's. False when it could not.
bool WriteHostManifest(FileSystem& fs, const std::string& program_path);

}  // namespace ph::host
