// The extension's origin or id checked, and the host manifests written.
#include "band/host/extension_identity.h"

#include "band/live/page_channel.h"

namespace ph::host {
namespace {

constexpr char kDescription[] = "PageHarvest: picks and keeps the parts of web pages that matter";

}  // namespace

bool CallerIsExtension(const std::vector<std::string>& arguments) {
  if (!arguments.empty() && arguments[0] == kExtensionOrigin) return true;
  return arguments.size() == 2 && !arguments[0].empty() && arguments[1] == kGeckoExtensionId;
}

std::string HostManifest(const std::string& program_path) {
  const live::Json manifest = {{"name", kHostName},
                               {"description", kDescription},
                               {"path", program_path},
                               {"type", "stdio"},
                               {"allowed_origins", {kExtensionOrigin}}};
  return manifest.dump(2) + "\n";
}

std::string FirefoxHostManifest(const std::string& program_path) {
  const live::Json manifest = {{"name", kHostName},
                               {"description", kDescription},
                               {"path", program_path},
                               {"type", "stdio"},
                               {"allowed_extensions", {kGeckoExtensionId}}};
  return manifest.dump(2) + "\n";
}

}  // namespace ph::host
