// The native build's system clipboard: one in memory, shared by every port (grab asks for X11Clipboard instead).
#include "controller/outputs/clipboard.h"

namespace ph {
namespace {

// Every port handed out shares one clipboard, as every window shares the system's.
class SharedMemoryClipboard : public ClipboardPort {
 public:
  bool Open() override { return Shared().Open(); }
  void Close() override { Shared().Close(); }
  bool Empty() override { return Shared().Empty(); }
  bool Set(ClipboardFormat format, std::string_view bytes) override { return Shared().Set(format, bytes); }

 private:
  static MemoryClipboard& Shared() {
    static MemoryClipboard clipboard;
    return clipboard;
  }
};

}  // namespace

std::unique_ptr<ClipboardPort> MakeSystemClipboard() { return std::make_unique<SharedMemoryClipboard>(); }

}  // namespace ph
