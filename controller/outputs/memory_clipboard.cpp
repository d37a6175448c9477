// A clipboard in memory: the native build's clipboard, and a test's, which can make it fail.
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
  data.push_back('\0');
  contents_[format] = std::move(data);
  return true;
}

}  // namespace ph
