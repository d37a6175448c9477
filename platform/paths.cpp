// Splitting paths at their last separator.
#include "platform/file_system.h"

namespace ph {

std::string FolderOfPath(std::string_view path) {
  const std::size_t at = path.rfind(kPathSeparator);
  return std::string(at == std::string_view::npos ? path : path.substr(0, at));
}

std::string FileNameOfPath(std::string_view path) {
  const std::size_t at = path.rfind(kPathSeparator);
  return std::string(at == std::string_view::npos ? path : path.substr(at + 1));
}

}  // namespace ph
