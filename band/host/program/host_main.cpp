// Entry point of PageHarvestHost.exe, the native messaging host that Chrome, Edge and Firefox start for the extension.
#include <windows.h>

#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include "band/host/extension_identity.h"
#include "band/host/program/extension_service.h"
#include "common/utf8.h"
#include "platform/code_page.h"
#include "platform/file_system.h"
#include "platform/win32/wide_paths.h"

namespace {

// "PageHarvestHost.exe /register": the setup program has the host's manifests written beside the
// program, naming it by its full path, in UTF-8 whatever the system's code page (browsers read the
// manifest as UTF-8): one for Chrome and Edge, one for Firefox, which refuses the other's keys.
int Register() {
  const std::string program = ph::win::ModulePath(nullptr);
  const auto fs = ph::MakeSystemFileSystem();
  const std::string path = ph::Utf16ToUtf8(ph::MakeSystemCodePage()->FromAnsi(program));
  const std::string name = ph::host::kHostName;
  const std::pair<std::string, std::string> manifests[] = {
      {name + ".json", ph::host::HostManifest(path)},
      {name + ".firefox.json", ph::host::FirefoxHostManifest(path)}};
  for (const auto& [file, manifest] : manifests) {
    if (program.empty() || !ph::ReplaceFileWith(*fs, ph::ModuleFolderFile(*fs, file), manifest).ok()) {
      std::fprintf(stderr, "PageHarvestHost: cannot write %s beside the program\n", file.c_str());
      return 1;
    }
  }
  return 0;
}

int Run(const std::vector<std::string>& arguments) {
  if (arguments.size() == 1 && arguments[0] == "/register") return Register();
  // Chrome and Edge pass the caller's origin first, then --parent-window=N; Firefox the manifest's
  // path, then the extension's id.
  if (!ph::host::CallerIsExtension(arguments)) {
    std::string caller;
    for (const std::string& argument : arguments) caller += (caller.empty() ? "" : " ") + argument;
    std::fprintf(stderr, "PageHarvestHost: refused the caller %s; this host serves %s and %s only\n",
                 caller.empty() ? "(none)" : caller.c_str(), ph::host::kExtensionOrigin, ph::host::kGeckoExtensionId);
    return 1;
  }
  return ph::host::ServeExtension();
}

}  // namespace

int main(int argc, char** argv) {
  try {
    return Run(std::vector<std::string>(argv + 1, argv + argc));
  } catch (...) {
    std::fprintf(stderr, "PageHarvestHost: stopped by an unexpected error\n");
    return 1;
  }
}
