// Where the capture puts its copy of a linked file, and the relative reference that points at it.
#pragma once

#include <map>

#include "common/base.h"
#include "controller/outputs/file_names.h"

namespace ph {

inline constexpr std::size_t kMaxLocalPath = kMaxPath;

struct LocalCopyPath {
  std::string reference;  // relative to the HTML file, '/' between segments, escaped as a URL
  std::string path;       // the file the copy is written to
};

// Places the decoded URL path under folder/companion. Every segment is made a harmless Windows
// file name: empty, "." and ".." segments are dropped; characters Windows forbids, control bytes and
// trailing dots and spaces become "_"; reserved device names (CON, NUL, COM1 ...) get a leading
// "_". A path that would be longer than kMaxLocalPath is replaced by a short name made from a hash
// of the URL path, keeping the file's extension; when even that is too long, both fields are empty
// (no copy). The copy never lands outside the companion folder.
LocalCopyPath MakeLocalCopyPath(std::string_view folder, std::string_view companion, std::string_view url_path,
                                char separator);

// The local copies of one HTML file: the same URL path always gets the same copy, and on a file
// system that does not tell case (fold_case), two URL paths whose copies would differ only in case
// get two files.
class LocalCopyNames {
 public:
  LocalCopyNames(std::string folder, std::string companion, char separator, bool fold_case);
  LocalCopyPath Claim(std::string_view url_path);

 private:
  std::string Key(const std::string& path) const;

  std::string folder_;
  std::string companion_;
  char separator_;
  bool fold_case_;
  std::map<std::string, std::string> taken_;  // the file's key, the URL path it holds
};

}  // namespace ph
