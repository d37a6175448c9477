// Entry point of PageHarvestHost.exe, the native messaging host that Chrome and Edge start for the extension.
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "band/host/extension_identity.h"
#include "band/host/program/extension_service.h"
#include "common/utf8.h"
#include "platform/code_page.h"
#include "platform/file_system.h"
#include "platform/win32/wide_paths.h"

namespace {

// "PageHarvestHost.exe /register": the setup program has the host's manifest written beside the
// program, naming it by its full path, in UTF-8 whatever the system's code page (browsers read the
// manifest as UTF-8).
int Register() {
  const std::string program = ph::win::ModulePath(nullptr);
  const auto fs = ph::MakeSystemFileSystem();
  const std::string manifest = ph::host::HostManifest(ph::Utf16ToUtf8(ph::MakeSystemCodePage()->FromAnsi(program)));
  const std::string file = std::string(ph::host::kHostName) + ".json";
  if (program.empty() || !ph::ReplaceFileWith(*fs, ph::ModuleFolderFile(*fs, file), manifest).ok()) {
    std::fprintf(stderr, "PageHarvestHost: cannot write %s beside the program\n", file.c_str());
    return 1;
  }
  return 0;
}

int Run(const std::vector<std::string>& arguments) {
  if (arguments.size() == 1 && arguments[0] == "/register") return Register();
  // Chrome and Edge pass the caller's origin first, then --parent-window=N.
  if (!ph::host::CallerIsExtension(arguments)) {
    std::fprintf(stderr, "PageHarvestHost: refused the caller %s; this host serves %s only\n",
                 arguments.empty() ? "(none)" : arguments[0].c_str(), ph::host::kExtensionOrigin);
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
