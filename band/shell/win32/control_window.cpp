// The control window's class and procedure: messages in, calls of the band's command logic out.
#include "band/shell/win32/control_window.h"

#include <commctrl.h>

#include <iterator>
#include <mutex>

#include "band/shell/band_commands.h"
#include "band/shell/win32/band_toolbar.h"
#include "band/shell/win32/module.h"
#include "platform/win32/edge_guard.h"

namespace ph::band {
namespace {

void ShowCommandMenu(HWND window, ControlWindowHost& host) {
  BandToolbar& toolbar = host.toolbar();
  RECT rect = {};
  if (!::SendMessageA(toolbar.hwnd(), TB_GETRECT, kCmdStartSelection, reinterpret_cast<LPARAM>(&rect)))
    ::MessageBoxA(nullptr, "get button rect failed", "Error", MB_OK | MB_ICONERROR);
  // Without a rectangle the menu opens at the toolbar's own corner.
  POINT corner = {rect.left, rect.bottom};
  ::ClientToScreen(toolbar.hwnd(), &corner);
  const HMENU popup = toolbar.popup();
  if (!popup) return;
  const MenuChecks checks = host.commands().CurrentMenuChecks();
  ::CheckMenuItem(popup, kCmdLargeIcons, MF_BYCOMMAND | (checks.large_icons ? MF_CHECKED : MF_UNCHECKED));
  ::CheckMenuItem(popup, kCmdSmallIcons, MF_BYCOMMAND | (checks.small_icons ? MF_CHECKED : MF_UNCHECKED));
  ::CheckMenuItem(popup, kCmdShowText, MF_BYCOMMAND | (checks.show_text ? MF_CHECKED : MF_UNCHECKED));
  ::TrackPopupMenu(popup, TPM_LEFTALIGN | TPM_TOPALIGN, corner.x, corner.y, 0, window, nullptr);
}

LRESULT OnNotify(HWND window, ControlWindowHost& host, const NMHDR* header) {
  if (!header) return 0;
  if (header->code == TBN_DROPDOWN && header->idFrom == kToolbarId) {
    if (reinterpret_cast<const NMTOOLBARA*>(header)->iItem == kCmdStartSelection) ShowCommandMenu(window, host);
  } else if (header->code == TTN_GETDISPINFOA) {
    auto* info = reinterpret_cast<NMTTDISPINFOA*>(const_cast<NMHDR*>(header));
    if (const char* text = BandCommands::TooltipText(static_cast<int>(header->idFrom))) {
      info->hinst = nullptr;
      info->lpszText = const_cast<char*>(text);
    }
    info->uFlags |= TTF_DI_SETITEM;
  } else if (header->code == TTN_GETDISPINFOW) {
    // A browser whose windows are Unicode gets its tooltips asked for in UTF-16.
    auto* info = reinterpret_cast<NMTTDISPINFOW*>(const_cast<NMHDR*>(header));
    if (const char* text = BandCommands::TooltipText(static_cast<int>(header->idFrom))) {
      ::MultiByteToWideChar(CP_ACP, 0, text, -1, info->szText, static_cast<int>(std::size(info->szText)));
      info->hinst = nullptr;
      info->lpszText = info->szText;
    }
    info->uFlags |= TTF_DI_SETITEM;
  }
  return 0;
}

LRESULT OnMessage(HWND window, ControlWindowHost& host, UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_DESTROY:
      host.OnControlWindowDestroyed();
      return 0;
    case WM_SIZE:
      ::SendMessageA(host.toolbar().hwnd(), TB_AUTOSIZE, 0, 0);
      return 0;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      host.OnFocusChange(message == WM_SETFOCUS);
      return 0;
    case WM_NOTIFY:
      return OnNotify(window, host, reinterpret_cast<const NMHDR*>(lparam));
    case WM_COMMAND:
      host.commands().OnCommand(LOWORD(wparam));
      return 0;
    case WM_TIMER:
      host.commands().OnTimer(static_cast<int>(wparam));
      return 0;
    default:
      return ::DefWindowProcA(window, message, wparam, lparam);
  }
}

LRESULT CALLBACK ControlWindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  ControlWindowHost* host;
  if (message == WM_NCCREATE) {
    host = static_cast<ControlWindowHost*>(reinterpret_cast<CREATESTRUCTA*>(lparam)->lpCreateParams);
    ::SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(host));
    if (host) host->OnControlWindowCreated(window);
    return ::DefWindowProcA(window, message, wparam, lparam);
  }
  host = reinterpret_cast<ControlWindowHost*>(::GetWindowLongPtrA(window, GWLP_USERDATA));
  if (!host) return ::DefWindowProcA(window, message, wparam, lparam);
  // Nothing may unwind into the browser's message loop.
  return win::GuardProcedure<LRESULT>("ControlWindowProc", 0,
                                      [&] { return OnMessage(window, *host, message, wparam, lparam); });
}

bool g_class_registered = false;

bool RegisterControlClass(HINSTANCE instance) {
  bool& registered = g_class_registered;
  const std::lock_guard<std::mutex> hold(ModuleMutex());
  if (registered) return true;
  WNDCLASSA cls = {};
  cls.style = CS_HREDRAW | CS_VREDRAW | CS_GLOBALCLASS;
  cls.lpfnWndProc = &ControlWindowProc;
  cls.hInstance = instance;
  cls.hCursor = ::LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));  // IDC_ARROW
  cls.hbrBackground = static_cast<HBRUSH>(::GetStockObject(NULL_BRUSH));
  cls.lpszClassName = kControlWindowClass;
  registered = ::RegisterClassA(&cls) != 0;
  return registered;
}

}  // namespace

HWND CreateControlWindow(HINSTANCE instance, HWND toolbar, ControlWindowHost* host) {
  if (!RegisterControlClass(instance)) {
    ::MessageBoxA(nullptr, "Error", "Error", MB_OK);
    return nullptr;
  }
  const HWND window = ::CreateWindowExA(0, kControlWindowClass, "", WS_CHILD, 0, 0, 10, 10, toolbar, nullptr,
                                        instance, host);
  if (!window) return nullptr;
  ::SendMessageA(toolbar, TB_SETPARENT, reinterpret_cast<WPARAM>(window), 0);
  return window;
}

void UnregisterControlClass(HINSTANCE instance) {
  const std::lock_guard<std::mutex> hold(ModuleMutex());
  if (g_class_registered) ::UnregisterClassA(kControlWindowClass, instance);
  g_class_registered = false;
}

}  // namespace ph::band
