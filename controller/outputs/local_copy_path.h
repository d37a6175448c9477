// Where the capture puts its copy of a linked file, and the relative reference that points at it.
#pragma once

#include "common/base.h"

namespace ph {

// The longest path the Windows file functions take (MAX_PATH without its terminating zero); the
// native build keeps to it too, so that both builds name the copies alike.
inline constexpr std::size_t kMaxLocalPath = 259;

struct LocalCopyPath {
  std::string reference;  // relative to the HTML file, '/' between segments, escaped as a URL
  std::string path;       // the file the copy is written to
};

// Places the decoded URL path under folder/companion. Every segment is made a harmless Windows
// file name: empty, "." and ".." segments are dropped; characters Windows forbids, control bytes and
// trailing dots and spaces become "_"; reserved device names (CON, NUL, COM1 ...) get a leading
// "_". A path that would be longer than kMaxLocalPath is replaced by a short name made from a hash
// of the URL path, keeping the file's extension. The copy never lands outside the companion folder.
LocalCopyPath MakeLocalCopyPath(std::string_view folder, std::string_view companion, std::string_view url_path,
                                char separator);

}  // namespace ph
