// A copy of GrabPlugin.dll in a scratch folder, registered and unregistered with regsvr32 as setup does.
#pragma once

#include <windows.h>

#include <string>

namespace ph::test {

inline constexpr char kBandClsid[] = "{5D5B2CA5-43EF-4731-93F8-A2D5EEB9D10A}";

class BandLibrary {
 public:
  // Copies the built library into a fresh folder (where the band's data files then land).
  BandLibrary();
  // Unregisters the copy when it was registered, and removes what is left of the folder.
  ~BandLibrary();

  // Runs regsvr32 /s (with /u to unregister) on the copy; its exit code, or -1 when it did not run.
  int Regsvr32(bool unregister = false);

  const std::string& folder() const { return folder_; }
  const std::string& path() const { return path_; }

 private:
  std::string folder_;
  std::string path_;
  bool registered_ = false;
};

// A string value of the registry; "<none>" when the key or the value is missing.
std::string RegistryText(HKEY root, const std::string& key, const char* name = "");
bool RegistryKeyExists(HKEY root, const std::string& key);

}  // namespace ph::test
