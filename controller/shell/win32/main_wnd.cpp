// The main window's procedure: content messages to the intake, the tray icon, its menu and timer.
#include "controller/shell/win32/main_wnd.h"

#include <cstring>

#include "common/handoff_record.h"
#include "controller/shell/win32/about_box.h"
#include "platform/win32/edge_guard.h"
#include "resources/resource.h"

namespace ph::win {
namespace {

constexpr UINT_PTR kIconTimer = 0;
constexpr UINT kIconTimerMs = 5000;
constexpr char kTrayTip[] = "PageHarvest Resident App";

}  // namespace

CMainWnd::CMainWnd(HINSTANCE instance, IntakeProcessor& intake, MainWndHooks hooks)
    : instance_(instance), intake_(intake), hooks_(std::move(hooks)) {}

bool CMainWnd::RegisterWindowClass(HINSTANCE instance) {
  WNDCLASSA cls = {};
  cls.lpfnWndProc = &CMainWnd::WndProc;
  cls.hInstance = instance;
  cls.hIcon = ::LoadIconA(instance, MAKEINTRESOURCEA(IDR_MAINFRAME));
  cls.hCursor = ::LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));  // IDC_ARROW
  cls.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  cls.lpszClassName = kMainClassName;
  return ::RegisterClassA(&cls) != 0;
}

bool CMainWnd::Create() {
  return ::CreateWindowExA(0, kMainClassName, kMainWindowTitle, WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                           CW_USEDEFAULT, 500, 400, nullptr, nullptr, instance_, this) != nullptr;
}

LRESULT CALLBACK CMainWnd::WndProc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
  CMainWnd* self;
  if (message == WM_NCCREATE) {
    self = static_cast<CMainWnd*>(reinterpret_cast<CREATESTRUCTA*>(lparam)->lpCreateParams);
    ::SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    self->hwnd_ = hwnd;
  } else {
    self = reinterpret_cast<CMainWnd*>(::GetWindowLongPtrA(hwnd, GWLP_USERDATA));
  }
  if (!self) return ::DefWindowProcA(hwnd, message, wparam, lparam);
  // Nothing may unwind through the system's message dispatch.
  return GuardProcedure<LRESULT>("CMainWnd::WndProc", 0, [&] { return self->OnMessage(message, wparam, lparam); });
}

LRESULT CMainWnd::OnMessage(UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case kUmProcessNext:
      // The save dialog and the writers' message boxes run modal loops of their own.
      modal_.RunModal([this] { intake_.ProcessNext(); });
      return 0;
    case kUmTrayNotify:
      OnTrayNotify(lparam);
      return 0;
    case kUmContentInfo:
      // The layout id and the flag are 32-bit values carried in the wider parameters.
      for (int due = intake_.OnContentInfo(static_cast<std::int32_t>(wparam), static_cast<std::int32_t>(lparam));
           due > 0; --due)
        ::PostMessageA(hwnd_, kUmProcessNext, 0, 0);
      return 0;
    case WM_CREATE:
      return OnCreate() ? 0 : -1;
    case WM_COPYDATA: {
      const auto* data = reinterpret_cast<const COPYDATASTRUCT*>(lparam);
      if (data) intake_.OnRecord(data->lpData, data->lpData ? data->cbData : 0);
      return ::DefWindowProcA(hwnd_, message, wparam, lparam);
    }
    case WM_TIMER:
      if (wparam == kIconTimer) {
        // Puts the icon back after the taskbar was re-created; while it exists this changes nothing.
        NOTIFYICONDATAA icon = IconData();
        ::Shell_NotifyIconA(NIM_ADD, &icon);
      }
      return ::DefWindowProcA(hwnd_, message, wparam, lparam);
    case WM_COMMAND:
      OnCommand(LOWORD(wparam));
      return 0;
    case WM_DESTROY:
      OnDestroy();
      return 0;
    default:
      return ::DefWindowProcA(hwnd_, message, wparam, lparam);
  }
}

NOTIFYICONDATAA CMainWnd::IconData() const {
  NOTIFYICONDATAA icon = {};
  // The first version of the structure: the fields after the tip are not used.
  icon.cbSize = NOTIFYICONDATAA_V1_SIZE;
  icon.hWnd = hwnd_;
  icon.uID = 0;
  icon.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
  icon.uCallbackMessage = kUmTrayNotify;
  icon.hIcon = reinterpret_cast<HICON>(::GetClassLongPtrA(hwnd_, GCLP_HICON));
  std::strncpy(icon.szTip, kTrayTip, sizeof icon.szTip - 1);
  return icon;
}

bool CMainWnd::OnCreate() {
  NOTIFYICONDATAA icon = IconData();
  // A failure here is retried by the timer.
  ::Shell_NotifyIconA(NIM_ADD, &icon);
  ::SetTimer(hwnd_, kIconTimer, kIconTimerMs, nullptr);
  tray_menu_.reset(::LoadMenuA(instance_, MAKEINTRESOURCEA(IDR_TRAY_MENU)));
  intake_.LoadActions();
  return true;
}

void CMainWnd::OnTrayNotify(LPARAM mouse_message) {
  if (mouse_message != WM_RBUTTONUP || !tray_menu_) return;
  POINT at = {};
  ::GetCursorPos(&at);
  ::SetForegroundWindow(hwnd_);
  ::TrackPopupMenu(::GetSubMenu(tray_menu_.get(), 0), 0, at.x, at.y, 0, hwnd_, nullptr);
}

void CMainWnd::OnCommand(int id) {
  switch (id) {
    case ID_CONFIGURATION:
      // One settings dialog and one About box at a time: the menu stays reachable while they are open.
      if (hooks_.open_settings) modal_.RunCommand(id, [this] { hooks_.open_settings(hwnd_); });
      return;
    case ID_APP_ABOUT:
      modal_.RunCommand(id, [this] { RunAboutBox(instance_, hwnd_); });
      return;
    case ID_APP_EXIT: {
      // Ending under an open dialog would save the settings before the dialog is done with them;
      // the window goes once the last one has closed.
      const HWND hwnd = hwnd_;
      if (modal_.RequestExit([hwnd] { ::DestroyWindow(hwnd); })) ::DestroyWindow(hwnd_);
      return;
    }
    default:
      return;
  }
}

void CMainWnd::OnDestroy() {
  // Content still queued, or arriving from here on, is dropped whole.
  intake_.BeginShutdown();
  ::KillTimer(hwnd_, kIconTimer);
  NOTIFYICONDATAA icon = IconData();
  ::Shell_NotifyIconA(NIM_DELETE, &icon);
  if (hooks_.on_destroy) hooks_.on_destroy();
  ::PostQuitMessage(0);
}

}  // namespace ph::win
