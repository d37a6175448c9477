// Reading the clipboard with it opened, and each block locked, only for the length of one read.
#include "tests/support/win32/clipboard_contents.h"

#include <windows.h>

#include <cstring>

#include "common/utf8.h"

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
  const std::optional<std::string> bytes = ClipboardBytes(CF_UNICODETEXT);
  if (!bytes) return {};
  WideString text(bytes->size() / 2, u'\0');
  std::memcpy(text.data(), bytes->data(), text.size() * 2);
  return Utf16ToUtf8(text.substr(0, text.find(u'\0')));
}

}  // namespace ph::test
