// The extension's origin checked, and the host manifest written.
#include "band/host/extension_identity.h"

#include "band/live/page_channel.h"

namespace ph::host {

bool CallerIsExtension(const std::vector<std::string>& arguments) {
  return !arguments.empty() && arguments[0] == kExtensionOrigin;
}

std::string HostManifest(const std::string& program_path) {
  const live::Json manifest = {{"name", kHostName},
                               {"description", "PageHarvest: picks and keeps the parts of web pages that matter"},
                               {"path", program_path},
                               {"type", "stdio"},
                               {"allowed_origins", {kExtensionOrigin}}};
  return manifest.dump(2) + "\n";
}

}  // namespace ph::host
