// Finding the data folder by the XDG base directories, and making it.
#include "tools/grab/data_folder.h"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>

namespace ph::grab {
namespace {

namespace fs = std::filesystem;

std::string Environment(const char* name) {
  const char* value = std::getenv(name);
  return value ? value : "";
}

std::string HomeFolder() {
  std::string home = Environment("HOME");
  if (home.empty())
    if (const passwd* user = ::getpwuid(::getuid())) home = user->pw_dir ? user->pw_dir : "";
  return home;
}

}  // namespace

std::string DataFolderOf(const std::string& data_dir_option) {
  std::string folder = data_dir_option.empty() ? Environment("PAGEHARVEST_DATA") : data_dir_option;
  if (folder.empty()) {
    // A relative XDG_DATA_HOME is to be ignored, as the base directory rules say.
    const std::string xdg = Environment("XDG_DATA_HOME");
    folder = (!xdg.empty() && xdg[0] == '/' ? fs::path(xdg) : fs::path(HomeFolder()) / ".local" / "share") / "pageharvest";
  }
  std::error_code ec;
  fs::path path = fs::absolute(folder, ec);
  path = (ec ? fs::path(folder) : path).lexically_normal();
  // "d/" names the folder d, not an empty name inside it.
  if (!path.has_filename() && path.has_parent_path() && path != path.root_path()) path = path.parent_path();
  return path.string();
}

bool PrepareDataFolder(const std::string& folder, std::string* error) {
  std::error_code ec;
  if (!fs::is_directory(folder, ec)) {
    const fs::path path(folder);
    fs::create_directories(path.parent_path(), ec);
    if (!ec && ::mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST) ec.assign(errno, std::generic_category());
    if (ec) {
      *error = "cannot make the data folder " + folder + ": " + ec.message();
      return false;
    }
  }
  // The data files are replaced by new files made beside them: that is what must be possible.
  std::string probe = (fs::path(folder) / ".grab-XXXXXX").string();
  const int fd = ::mkstemp(probe.data());
  if (fd < 0) {
    *error = "cannot write in the data folder " + folder + ": " + std::strerror(errno);
    return false;
  }
  ::close(fd);
  ::unlink(probe.c_str());
  return true;
}

}  // namespace ph::grab
