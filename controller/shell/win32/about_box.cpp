// The About box: painted background, physical memory, and a confirmed jump to the web site.
#include "controller/shell/win32/about_box.h"

#include <shellapi.h>

#include "controller/shell/memory_text.h"
#include "controller/shell/win32/artwork.h"
#include "controller/shell/win32/modal_dialog.h"
#include "platform/win32/unique_handle.h"
#include "platform/win32/user.h"
#include "resources/resource.h"

namespace ph::win {
namespace {

class AboutBox : public ModalDialog {
 private:
  void OnInit() override {
    SetSmallIcon(hwnd(), instance());
    background_.reset(::LoadBitmapA(instance(), MAKEINTRESOURCEA(IDB_BACKGROUND)));
    MEMORYSTATUS status = {};
    status.dwLength = sizeof status;
    ::GlobalMemoryStatus(&status);
    ::SetDlgItemTextA(hwnd(), IDC_MEMORY, FormatMemoryKb(status.dwTotalPhys).c_str());
    user_.set_owner(hwnd());
  }

  bool OnCommand(int id, int code) override {
    switch (id) {
      case IDOK:
      case IDCANCEL:
        End(id);
        return true;
      case IDC_WEBSITE:
        if (code == STN_CLICKED) OpenSite();
        return true;
      default:
        return false;
    }
  }

  void OpenSite() {
    const Message ask{"This will take you to the PageHarvest website, are you sure?", "Confirm",
                      MessageIcon::kNone, MessageButtons::kYesNo};
    // A failing shell open is not reported.
    if (user_.Show(ask) == Answer::kYes)
      ::ShellExecuteA(hwnd(), "open", kProductSite, nullptr, nullptr, SW_SHOWNORMAL);
  }

  INT_PTR OnMessage(UINT message, WPARAM wparam, LPARAM lparam, bool* handled) override {
    switch (message) {
      case WM_ERASEBKGND:
        *handled = true;
        return TRUE;
      case WM_PAINT:
        PaintArtwork(hwnd(), {{background_.get(), 0, 20, 420, 220, SRCAND}});
        *handled = true;
        return TRUE;
      case WM_CTLCOLORSTATIC: {
        const HDC dc = reinterpret_cast<HDC>(wparam);
        ::SetBkMode(dc, TRANSPARENT);
        if (::GetDlgCtrlID(reinterpret_cast<HWND>(lparam)) == IDC_WEBSITE) ::SetTextColor(dc, RGB(0, 0, 255));
        *handled = true;
        return reinterpret_cast<INT_PTR>(::GetStockObject(HOLLOW_BRUSH));
      }
      default:
        return 0;
    }
  }

  UniqueHbitmap background_;
  Win32User user_;
};

}  // namespace

void RunAboutBox(HINSTANCE instance, HWND owner) {
  AboutBox box;
  box.Run(instance, IDD_ABOUTBOX, owner);
}

}  // namespace ph::win
