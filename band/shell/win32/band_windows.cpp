// Timers, message boxes and the controller's process, through the band's windows.
#include "band/shell/win32/band_windows.h"

#include <shellapi.h>

#include "platform/user.h"

namespace ph::band {
namespace {

UINT IconFlag(MessageIcon icon) {
  switch (icon) {
    case MessageIcon::kError: return MB_ICONERROR;
    case MessageIcon::kWarning: return MB_ICONWARNING;
    case MessageIcon::kInformation: return MB_ICONINFORMATION;
    case MessageIcon::kQuestion: return MB_ICONQUESTION;
    case MessageIcon::kNone: break;
  }
  return 0;
}

}  // namespace

void WindowTimers::Start(int timer_id, std::uint32_t milliseconds) {
  ::SetTimer(windows_.control, static_cast<UINT_PTR>(timer_id), milliseconds, nullptr);
}

void WindowTimers::Stop(int timer_id) { ::KillTimer(windows_.control, static_cast<UINT_PTR>(timer_id)); }

void MessageBoxes::Show(MessageOwner owner, const Message& message) {
  const HWND window = owner == MessageOwner::kControlWindow ? windows_.control : windows_.site;
  // The band's messages all have a single OK button.
  ::MessageBoxA(window, message.text.c_str(), message.caption.empty() ? nullptr : message.caption.c_str(),
                MB_OK | IconFlag(message.icon));
}

ControllerWindow ControllerProcess::FindControllerWindow() {
  return reinterpret_cast<ControllerWindow>(::FindWindowA("page grabber clsname", "Page Grabber Controller"));
}

void ControllerProcess::Launch(const std::string& path) {
  ::ShellExecuteA(windows_.control, "open", path.c_str(), "", "", SW_SHOW);
}

void ControllerProcess::Deliver(ControllerWindow window, const Bytes& record, std::int32_t layout_id,
                                std::int32_t quick_save) {
  const HWND controller = reinterpret_cast<HWND>(window);
  COPYDATASTRUCT data = {};
  data.dwData = 0;
  data.cbData = static_cast<DWORD>(record.size());
  data.lpData = const_cast<std::uint8_t*>(record.data());
  ::SendMessageA(controller, WM_COPYDATA, reinterpret_cast<WPARAM>(windows_.control),
                 reinterpret_cast<LPARAM>(&data));
  ::SendMessageA(controller, kUmContentInfo, static_cast<WPARAM>(static_cast<std::uint32_t>(layout_id)),
                 static_cast<LPARAM>(quick_save));
}

}  // namespace ph::band
