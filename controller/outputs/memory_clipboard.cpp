// A clipboard in memory (the native build's, and a test's, which can make it fail), and the bytes
// of CF_UNICODETEXT.
#include <algorithm>

#include "controller/outputs/clipboard.h"

namespace ph {

bool MemoryClipboard::Open() {
  if (open_) return false;  // as on Windows: a clipboard another open holds cannot be opened
  if (failing_opens_ > 0) {
    --failing_opens_;
    return false;
  }
  open_ = true;
  return true;
}

bool MemoryClipboard::Empty() {
  if (!open_) return false;
  contents_.clear();
  return true;
}

bool MemoryClipboard::Set(ClipboardFormat format, std::string_view bytes) {
  if (!open_ || std::count(failing_formats_.begin(), failing_formats_.end(), format)) return false;
  std::string data(bytes);
  data.append(TerminatorBytes(format), '\0');
  contents_[format] = std::move(data);
  return true;
}

std::string UnicodeTextBytes(WideView text) {
  std::string bytes;
  bytes.reserve(text.size() * 2);
  for (char16_t c : text) {
    bytes.push_back(static_cast<char>(c & 0xFF));
    bytes.push_back(static_cast<char>(c >> 8));
  }
  return bytes;
}

WideString UnicodeTextOf(std::string_view bytes) {
  WideString text;
  for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
    const auto c = static_cast<char16_t>(static_cast<unsigned char>(bytes[i]) | static_cast<unsigned char>(bytes[i + 1]) << 8);
    if (c == 0) break;
    text.push_back(c);
  }
  return text;
}

}  // namespace ph
