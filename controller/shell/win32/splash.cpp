// The splash screen: banner and background artwork, closed by its own timer.
#include "controller/shell/win32/splash.h"

#include "controller/shell/win32/artwork.h"
#include "controller/shell/win32/modal_dialog.h"
#include "platform/win32/unique_handle.h"
#include "resources/resource.h"

namespace ph::win {
namespace {

constexpr UINT_PTR kCloseTimer = 0;
constexpr UINT kShowMs = 3000;
constexpr char kOwnerClass[] = "PageHarvest splash owner";

class CFlashScreenDlg : public ModalDialog {
 private:
  void OnInit() override {
    background_.reset(::LoadBitmapA(instance(), MAKEINTRESOURCEA(IDB_BACKGROUND)));
    banner_.reset(::LoadBitmapA(instance(), MAKEINTRESOURCEA(IDB_BANNER)));
    ::SetTimer(hwnd(), kCloseTimer, kShowMs, nullptr);
  }

  // The timer is the only way out: Escape and Enter do nothing.
  bool OnCommand(int id, int) override { return id == IDOK || id == IDCANCEL; }

  INT_PTR OnMessage(UINT message, WPARAM wparam, LPARAM lparam, bool* handled) override {
    switch (message) {
      case WM_TIMER:
        if (wparam != kCloseTimer) return 0;
        ::KillTimer(hwnd(), kCloseTimer);
        End(0);
        *handled = true;
        return TRUE;
      case WM_ERASEBKGND:
        *handled = true;
        return TRUE;
      case WM_PAINT:
        // White parts of the background leave the banner visible.
        PaintArtwork(hwnd(), {{banner_.get(), 0, 0, 400, 70, SRCCOPY},
                              {background_.get(), 0, 40, 420, 220, SRCAND}});
        *handled = true;
        return TRUE;
      case WM_CTLCOLORSTATIC:
        ::SetBkMode(reinterpret_cast<HDC>(wparam), TRANSPARENT);
        *handled = true;
        return reinterpret_cast<INT_PTR>(::GetStockObject(HOLLOW_BRUSH));
      default:
        return 0;
    }
  }

  UniqueHbitmap background_;
  UniqueHbitmap banner_;
};

}  // namespace

void ShowSplash(HINSTANCE instance) {
  WNDCLASSA cls = {};
  cls.lpfnWndProc = ::DefWindowProcA;
  cls.hInstance = instance;
  cls.lpszClassName = kOwnerClass;
  ::RegisterClassA(&cls);
  UniqueHwnd owner(::CreateWindowExA(0, kOwnerClass, "temp", WS_POPUP, 0, 0, 100, 100, nullptr,
                                     nullptr, instance, nullptr));
  CFlashScreenDlg splash;
  splash.Run(instance, IDD_SPLASH, owner.get());
}

}  // namespace ph::win
