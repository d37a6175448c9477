// Making and writing the native host's manifest.
#include "band/host/program/host_manifest.h"

#include <nlohmann/json.hpp>

#include "band/host/program/host_arguments.h"
#include "platform/file_system.h"

namespace ph::host {

std::string HostManifestJson(const std::string& program_path) {
  nlohmann::ordered_json manifest;
  manifest["name"] = kHostName;
  manifest["description"] = "PageHarvest: hands what you pick on a page to the PageHarvest controller";
  manifest["path"] = program_path;
  manifest["type"] = "stdio";
  manifest["allowed_origins"] = {kExtensionOrigin};
  return manifest.dump(2) + "\n";
}

bool WriteHostManifest(FileSystem& fs, const std::string& program_path) {
  const std::string path = FolderOfPath(program_path) + kPathSeparator + kHostManifestFile;
  return ReplaceFileWith(fs, path, HostManifestJson(program_path)).ok();
}

}  // namespace ph::host
