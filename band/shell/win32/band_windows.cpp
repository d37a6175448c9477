// Timers, message boxes and the controller's process, through the band's windows.
#include "band/shell/win32/band_windows.h"

#include <shellapi.h>

#include "platform/win32/user.h"

namespace ph::band {

void WindowTimers::Start(int timer_id, std::uint32_t milliseconds) {
  ::SetTimer(windows_.control, static_cast<UINT_PTR>(timer_id), milliseconds, nullptr);
}

void WindowTimers::Stop(int timer_id) { ::KillTimer(windows_.control, static_cast<UINT_PTR>(timer_id)); }

void MessageBoxes::Show(MessageOwner owner, const Message& message) {
  win::Win32User(owner == MessageOwner::kControlWindow ? windows_.control : windows_.site).Show(message);
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
