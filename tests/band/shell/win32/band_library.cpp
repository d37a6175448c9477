// Copying and registering the band library for a test.
#include "tests/band/shell/win32/band_library.h"

#include <filesystem>

#include "platform/win32/unique_handle.h"
#include "tests/support/test_paths.h"

namespace ph::test {
namespace {

// The build gives a path of the build machine; under Wine its root is drive Z:.
std::string BuiltLibrary() {
  std::string path = PH_BAND_DLL;
  if (!path.empty() && path[0] == '/') path = "Z:" + path;
  for (char& c : path)
    if (c == '/') c = '\\';
  return path;
}

}  // namespace

BandLibrary::BandLibrary() {
  folder_ = MakeScratchDir("band");
  path_ = folder_ + "\\GrabPlugin.dll";
  ::CopyFileA(BuiltLibrary().c_str(), path_.c_str(), FALSE);
}

BandLibrary::~BandLibrary() {
  if (registered_) Regsvr32(true);
  // The library may still be loaded in this process; what cannot be removed stays in the temp folder.
  std::error_code ignored;
  std::filesystem::remove_all(folder_, ignored);
}

int BandLibrary::Regsvr32(bool unregister) {
  std::string command = std::string("regsvr32.exe /s ") + (unregister ? "/u " : "") + "\"" + path_ + "\"";
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info = {};
  if (!::CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info))
    return -1;
  const win::UniqueKernelHandle process(info.hProcess), thread(info.hThread);
  if (::WaitForSingleObject(process.get(), 30000) != WAIT_OBJECT_0) return -1;
  DWORD code = 0;
  ::GetExitCodeProcess(process.get(), &code);
  registered_ = !unregister && code == 0;
  return static_cast<int>(code);
}

std::string RegistryText(HKEY root, const std::string& key, const char* name) {
  char text[1024] = {};
  DWORD size = sizeof text - 1;
  DWORD type = 0;
  if (::RegGetValueA(root, key.c_str(), name[0] ? name : nullptr, RRF_RT_REG_SZ, &type, text, &size) != ERROR_SUCCESS)
    return "<none>";
  return text;
}

bool RegistryKeyExists(HKEY root, const std::string& key) {
  win::UniqueHkey opened;
  return ::RegOpenKeyExA(root, key.c_str(), 0, KEY_READ, opened.put()) == ERROR_SUCCESS;
}

}  // namespace ph::test
