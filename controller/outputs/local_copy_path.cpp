// Where the capture puts its copy of a linked file, and the relative reference that points at it.
#include "controller/outputs/local_copy_path.h"

#include <cstdio>

namespace ph {
namespace {

bool IsForbiddenInFileName(unsigned char c) {
  if (c < 0x20 || c == 0x7F) return true;
  switch (c) {
    case '<':
    case '>':
    case ':':
    case '"':
    case '/':
    case '\\':
    case '|':
    case '?':
    case '*':
      return true;
    default:
      return false;
  }
}

char Upper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - ('a' - 'A')) : c; }

// CON, PRN, AUX, NUL, COM0-9, LPT0-9 name devices whatever extension follows them.
bool IsReservedName(std::string_view segment) {
  std::string_view base = segment.substr(0, segment.find('.'));
  while (!base.empty() && base.back() == ' ') base.remove_suffix(1);
  std::string up;
  for (char c : base) up += Upper(c);
  if (up == "CON" || up == "PRN" || up == "AUX" || up == "NUL" || up == "CONIN$" || up == "CONOUT$") return true;
  return up.size() == 4 && (up.compare(0, 3, "COM") == 0 || up.compare(0, 3, "LPT") == 0) && up[3] >= '0' &&
         up[3] <= '9';
}

std::string SafeSegment(std::string_view segment) {
  std::string safe(segment);
  for (char& c : safe) {
    if (IsForbiddenInFileName(static_cast<unsigned char>(c))) c = '_';
  }
  // Windows drops trailing dots and spaces, which would make "a." and "a" the same file.
  for (auto it = safe.rbegin(); it != safe.rend() && (*it == '.' || *it == ' '); ++it) *it = '_';
  if (IsReservedName(safe)) safe.insert(0, "_");
  return safe;
}

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

void AppendUrlEscaped(std::string_view text, std::string* out) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  for (char ch : text) {
    const auto c = static_cast<unsigned char>(ch);
    if (NeedsEscape(c)) {
      out->push_back('%');
      out->push_back(kHex[c >> 4]);
      out->push_back(kHex[c & 15]);
    } else {
      out->push_back(ch);
    }
  }
}

std::vector<std::string> SafeSegments(std::string_view url_path) {
  std::vector<std::string> segments;
  std::size_t start = 0;
  bool last_empty = true;
  while (start <= url_path.size()) {
    std::size_t end = url_path.find('/', start);
    if (end == std::string_view::npos) end = url_path.size();
    const std::string_view segment = url_path.substr(start, end - start);
    last_empty = segment.empty() || segment == "." || segment == "..";
    if (!last_empty) segments.push_back(SafeSegment(segment));
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

// FNV-1a: a short, stable name for a path too long to keep.
std::string HashedName(std::string_view url_path, std::string_view last_segment) {
  std::uint64_t h = 14695981039346656037ull;
  for (char c : url_path) {
    h ^= static_cast<unsigned char>(c);
    h *= 1099511628211ull;
  }
  char buf[24];
  std::snprintf(buf, sizeof buf, "%016llx", static_cast<unsigned long long>(h));
  return buf + ExtensionOf(last_segment);
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
  return result;
}

}  // namespace ph
