// Where the tests find the files of the source tree, and scratch folders of their own.
#include "tests/support/test_paths.h"

#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <random>

namespace ph::test {

std::string SourceDir() {
  const char* dir = std::getenv("PH_SOURCE_DIR");
  return dir ? dir : "";
}

std::string WindowsPathOf(std::string build_path) {
  if (!build_path.empty() && build_path[0] == '/') build_path = "Z:" + build_path;
  for (char& c : build_path)
    if (c == '/') c = '\\';
  return build_path;
}

std::string MakeScratchDir(const std::string& tag) {
  // Test programs run side by side: a random part keeps their folders apart.
  static const unsigned run = std::random_device{}();
  static std::atomic<int> counter{0};
  namespace fs = std::filesystem;
  const fs::path dir = fs::temp_directory_path() / "pageharvest-tests" /
                       (tag + "-" + std::to_string(run) + "-" + std::to_string(counter++));
  std::error_code ec;
  fs::remove_all(dir, ec);
  fs::create_directories(dir, ec);
  return dir.string();
}

}  // namespace ph::test
