// Where the capture puts its copy of a linked file, and the relative reference that points at it.
#include "controller/outputs/local_copy_path.h"

#include "common/ascii.h"
#include "controller/outputs/file_names.h"
#include "platform/url.h"

namespace ph {
namespace {

// Characters that a relative URL cannot carry as they are (the rest, bytes above 127 included,
// are written unchanged so that ordinary names read as they do on disk).
bool NeedsEscape(unsigned char c) {
  if (c <= 0x20 || c == 0x7F) return true;
  switch (c) {
    case '%':
    case '#':
    case '?':
    case '"':
    case '\'':
    case '<':
    case '>':
    case '`':
    case '\\':
    case '^':
    case '{':
    case '}':
    case '|':
      return true;
    default:
      return false;
  }
}

void AppendUrlEscaped(std::string_view text, std::string* out) { AppendPercentEscaped(text, NeedsEscape, out); }

std::vector<std::string> SafeSegments(std::string_view url_path) {
  std::vector<std::string> segments;
  std::size_t start = 0;
  bool last_empty = true;
  while (start <= url_path.size()) {
    std::size_t end = url_path.find('/', start);
    if (end == std::string_view::npos) end = url_path.size();
    const std::string_view segment = url_path.substr(start, end - start);
    last_empty = segment.empty() || segment == "." || segment == "..";
    if (!last_empty) segments.push_back(SafeFileName(segment));
    start = end + 1;
  }
  // A URL that names a folder ("/pictures/") still needs a file to land in.
  if (last_empty) segments.push_back("_");
  return segments;
}

std::string ExtensionOf(std::string_view name) {
  const std::size_t dot = name.rfind('.');
  if (dot == std::string_view::npos || name.size() - dot > 16) return {};
  return std::string(name.substr(dot));
}

// A short, stable name for a path too long to keep.
std::string HashedName(std::string_view url_path, std::string_view last_segment) {
  return HashText(url_path) + ExtensionOf(last_segment);
}

}  // namespace

LocalCopyPath MakeLocalCopyPath(std::string_view folder, std::string_view companion, std::string_view url_path,
                                char separator) {
  std::vector<std::string> segments = SafeSegments(url_path);
  std::string root(folder);
  if (!root.empty()) root += separator;
  root += companion;

  auto build = [&](const std::vector<std::string>& parts) {
    LocalCopyPath result;
    AppendUrlEscaped(companion, &result.reference);
    result.path = root;
    for (const std::string& part : parts) {
      result.reference += '/';
      AppendUrlEscaped(part, &result.reference);
      result.path += separator;
      result.path += part;
    }
    return result;
  };
  LocalCopyPath result = build(segments);
  if (result.path.size() > kMaxLocalPath) result = build({HashedName(url_path, segments.back())});
  if (result.path.size() > kMaxLocalPath) return {};
  return result;
}

LocalCopyNames::LocalCopyNames(std::string folder, std::string companion, char separator, bool fold_case)
    : folder_(std::move(folder)), companion_(std::move(companion)), separator_(separator), fold_case_(fold_case) {}

LocalCopyPath LocalCopyNames::Claim(std::string_view url_path) {
  LocalCopyPath copy = MakeLocalCopyPath(folder_, companion_, url_path, separator_);
  if (copy.path.empty()) return copy;
  auto [it, fresh] = taken_.emplace(Key(copy.path), std::string(url_path));
  if (fresh || it->second == url_path) return copy;
  // Another URL already has this file (its name differs only in case): this one gets a name of its
  // own, from the hash of its path, in the same folder.
  const std::size_t cut = copy.path.rfind(separator_);
  const std::size_t ref_cut = copy.reference.rfind('/');
  const std::string name = HashedName(url_path, copy.path.substr(cut + 1));
  copy.path = copy.path.substr(0, cut + 1) + name;
  copy.reference = copy.reference.substr(0, ref_cut + 1) + name;
  if (copy.path.size() > kMaxLocalPath) return {};
  taken_.emplace(Key(copy.path), std::string(url_path));
  return copy;
}

std::string LocalCopyNames::Key(const std::string& path) const { return fold_case_ ? LowerAscii(path) : path; }

}  // namespace ph
