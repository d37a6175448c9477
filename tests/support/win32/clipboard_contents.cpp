// Reading the clipboard with it opened, and each block locked, only for the length of one read.
#include "tests/support/win32/clipboard_contents.h"

#include <windows.h>

namespace ph::test {
namespace {

class OpenClipboardScope {
 public:
  OpenClipboardScope() : open_(::OpenClipboard(nullptr) != FALSE) {}
  ~OpenClipboardScope() {
    if (open_) ::CloseClipboard();
  }
  OpenClipboardScope(const OpenClipboardScope&) = delete;
  OpenClipboardScope& operator=(const OpenClipboardScope&) = delete;
  bool open() const { return open_; }

 private:
  bool open_;
};

}  // namespace

std::optional<std::string> ClipboardBytes(unsigned format) {
  const OpenClipboardScope clipboard;
  if (!clipboard.open()) return std::nullopt;
  // The block belongs to the clipboard: it is locked, never freed.
  const HANDLE block = ::GetClipboardData(format);
  if (!block) return std::nullopt;
  const char* p = static_cast<const char*>(::GlobalLock(block));
  if (!p) return std::nullopt;
  std::string bytes(p, ::GlobalSize(block));
  ::GlobalUnlock(block);
  return bytes;
}

std::string ClipboardText() {
  const std::optional<std::string> bytes = ClipboardBytes(CF_TEXT);
  return bytes ? bytes->substr(0, bytes->find('\0')) : std::string();
}

}  // namespace ph::test
