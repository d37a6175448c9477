// File names that the file systems of both builds can hold.
#include "controller/outputs/file_names.h"

#include <cstdio>

#include "common/ascii.h"

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

// CON, PRN, AUX, NUL, COM0-9, LPT0-9 name devices whatever extension follows them.
bool IsReservedName(std::string_view name) {
  std::string_view base = name.substr(0, name.find('.'));
  while (!base.empty() && base.back() == ' ') base.remove_suffix(1);
  const std::string up = LowerAscii(base);
  if (up == "con" || up == "prn" || up == "aux" || up == "nul" || up == "conin$" || up == "conout$") return true;
  return up.size() == 4 && (up.compare(0, 3, "com") == 0 || up.compare(0, 3, "lpt") == 0) && up[3] >= '0' &&
         up[3] <= '9';
}

// The longest start of the text of at most size bytes that does not end inside a UTF-8 character.
std::string_view CutAtCharacter(std::string_view text, std::size_t size) {
  if (text.size() <= size) return text;
  while (size > 0 && (static_cast<unsigned char>(text[size]) & 0xC0) == 0x80) --size;
  return text.substr(0, size);
}

}  // namespace

std::string SafeFileName(std::string_view name) {
  std::string safe(name);
  for (char& c : safe) {
    if (IsForbiddenInFileName(static_cast<unsigned char>(c))) c = '_';
  }
  const bool reserved = IsReservedName(safe);
  for (auto it = safe.rbegin(); it != safe.rend() && (*it == '.' || *it == ' '); ++it) *it = '_';
  if (reserved) safe.insert(0, "_");
  return safe;
}

std::string HashText(std::string_view text) {
  std::uint64_t h = 14695981039346656037ull;
  for (char c : text) {
    h ^= static_cast<unsigned char>(c);
    h *= 1099511628211ull;
  }
  char buf[24];
  std::snprintf(buf, sizeof buf, "%016llx", static_cast<unsigned long long>(h));
  return buf;
}

std::string PathInFolder(std::string_view folder, std::string_view name, std::string_view extension, char separator) {
  std::string path(folder);
  if (!path.empty()) path += separator;
  std::size_t room = kMaxFileName;
  if (path.size() + extension.size() < kMaxPath) room = std::min(room, kMaxPath - path.size());
  if (name.size() + extension.size() <= room) return path + std::string(name) + std::string(extension);
  const std::string mark = "~" + HashText(name);
  const std::size_t keep = room > extension.size() + mark.size() ? room - extension.size() - mark.size() : 0;
  return path + std::string(CutAtCharacter(name, keep)) + mark + std::string(extension);
}

}  // namespace ph
