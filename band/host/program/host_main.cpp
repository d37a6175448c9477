// Entry point of PageHarvestHost.exe, the native messaging host that Chrome and Edge start.
#include <windows.h>
#include <fcntl.h>
#include <io.h>

#include <cstdio>
#include <string>
#include <vector>

#include "band/host/program/host_arguments.h"
#include "band/host/program/host_manifest.h"
#include "platform/file_system.h"
#include "platform/win32/wide_paths.h"

namespace {

// "PageHarvestHost.exe /register": the setup program has the manifest written beside the program.
int Register() {
  const std::string program = ph::win::ModulePath(nullptr);
  const auto fs = ph::MakeSystemFileSystem();
  if (program.empty() || !ph::host::WriteHostManifest(*fs, program)) {
    std::fprintf(stderr, "PageHarvestHost: cannot write %s beside the program\n", ph::host::kHostManifestFile);
    return 1;
  }
  return 0;
}

int Serve(const ph::host::HostArguments& arguments) { return 0; }

int Run(const std::vector<std::string>& arguments) {
  if (arguments.size() == 1 && arguments[0] == "/register") return Register();
  const auto parsed = ph::host::ParseHostArguments(arguments);
  if (!parsed || parsed->origin != ph::host::kExtensionOrigin) {
    std::fprintf(stderr, "PageHarvestHost: refused the caller %s; only %s may use this host\n",
                 parsed ? parsed->origin.c_str() : "(none)", ph::host::kExtensionOrigin);
    return 1;
  }
  return Serve(*parsed);
}

}  // namespace

int main(int argc, char** argv) {
  // The messages' lengths and bytes must pass untouched: no CR/LF translation, no end at a ^Z.
  ::_setmode(::_fileno(stdin), _O_BINARY);
  ::_setmode(::_fileno(stdout), _O_BINARY);
  try {
    return Run(std::vector<std::string>(argv + 1, argv + argc));
  } catch (...) {
    std::fprintf(stderr, "PageHarvestHost: stopped by an unexpected error\n");
    return 1;
  }
}
