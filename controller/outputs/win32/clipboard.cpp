// The clipboard port over the Win32 clipboard.
#include "controller/outputs/clipboard.h"

#include <windows.h>

#include <cstring>

#include "platform/win32/unique_handle.h"

namespace ph {
namespace {

// Opened with an owner window of its own: a clipboard opened without an owner becomes ownerless
// when it is emptied, and Windows then refuses SetClipboardData, so nothing would be placed.
class Win32Clipboard : public ClipboardPort {
 public:
  ~Win32Clipboard() override { Close(); }

  bool Open() override {
    if (!owner_)
      owner_.reset(::CreateWindowExA(0, "STATIC", "PageHarvest clipboard", 0, 0, 0, 0, 0, HWND_MESSAGE,
                                     nullptr, ::GetModuleHandleA(nullptr), nullptr));
    open_ = ::OpenClipboard(owner_.get()) != FALSE;
    return open_;
  }
  void Close() override {
    if (open_) ::CloseClipboard();
    open_ = false;
  }
  bool Empty() override { return ::EmptyClipboard() != FALSE; }

  bool Set(ClipboardFormat format, std::string_view bytes) override {
    const UINT id = format == ClipboardFormat::kUnicodeText ? CF_UNICODETEXT : ::RegisterClipboardFormatA("HTML Format");
    if (id == 0) return false;
    const std::size_t terminator = TerminatorBytes(format);
    win::UniqueHglobal block(::GlobalAlloc(GMEM_MOVEABLE, bytes.size() + terminator));
    if (!block) return false;
    void* data = ::GlobalLock(block.get());
    if (!data) return false;
    std::memcpy(data, bytes.data(), bytes.size());
    std::memset(static_cast<char*>(data) + bytes.size(), 0, terminator);
    ::GlobalUnlock(block.get());
    if (!::SetClipboardData(id, block.get())) return false;
    block.release();  // the clipboard owns it now
    return true;
  }

 private:
  win::UniqueHwnd owner_;
  bool open_ = false;
};

}  // namespace

std::unique_ptr<ClipboardPort> MakeSystemClipboard() { return std::make_unique<Win32Clipboard>(); }

}  // namespace ph
