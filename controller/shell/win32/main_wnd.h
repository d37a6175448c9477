// CMainWnd: the hidden main window that takes in content, keeps the tray icon and runs its menu.
#pragma once

#include <windows.h>
#include <shellapi.h>

#include <functional>

#include "controller/intake/intake_processor.h"
#include "controller/shell/modal_guard.h"
#include "platform/win32/unique_handle.h"

namespace ph::win {

inline constexpr char kMainClassName[] = "page grabber clsname";
inline constexpr char kMainWindowTitle[] = "Page Grabber Controller";
inline constexpr UINT kUmTrayNotify = WM_USER + 2;

// What the main window's commands and shutdown reach outside the intake.
struct MainWndHooks {
  std::function<void(HWND)> open_settings;  // the settings dialog, modal
  std::function<void()> on_destroy;         // save the settings, release COM
};

class CMainWnd {
 public:
  CMainWnd(HINSTANCE instance, IntakeProcessor& intake, MainWndHooks hooks);

  static bool RegisterWindowClass(HINSTANCE instance);
  // Creates the hidden window; false when that failed.
  bool Create();
  HWND hwnd() const { return hwnd_; }

 private:
  static LRESULT CALLBACK WndProc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam);
  LRESULT OnMessage(UINT message, WPARAM wparam, LPARAM lparam);
  bool OnCreate();
  void OnTrayNotify(LPARAM mouse_message);
  void OnCommand(int id);
  void OnDestroy();
  NOTIFYICONDATAA IconData() const;

  HINSTANCE instance_;
  IntakeProcessor& intake_;
  MainWndHooks hooks_;
  HWND hwnd_ = nullptr;
  UniqueHmenu tray_menu_;
  ModalGuard modal_;
};

}  // namespace ph::win
