// Creating the toolbar and changing its buttons, images and labels.
#include "band/shell/win32/band_toolbar.h"

#include <commctrl.h>

#include "resources/band_resource.h"

namespace ph::band {
namespace {

constexpr COLORREF kTransparent = RGB(255, 0, 255);

win::UniqueHimagelist LoadImages(HINSTANCE instance, int bitmap, int size) {
  win::UniqueHimagelist list(::ImageList_Create(size, size, ILC_COLOR16 | ILC_MASK, 2, 0));
  const win::UniqueHbitmap picture(static_cast<HBITMAP>(
      ::LoadImageA(instance, MAKEINTRESOURCEA(bitmap), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
  if (list && picture) ::ImageList_AddMasked(list.get(), picture.get(), kTransparent);
  return list;
}

}  // namespace

bool BandToolbar::Create(HWND site_window, HINSTANCE instance, Registry& registry, BandSettings* settings) {
  RECT area = {};
  ::GetClientRect(site_window, &area);
  hwnd_.reset(::CreateWindowExA(0, TOOLBARCLASSNAMEA, "ToolBar",
                                WS_CHILD | TBSTYLE_LIST | TBSTYLE_FLAT | TBSTYLE_TOOLTIPS | CCS_NODIVIDER |
                                    CCS_NORESIZE,
                                area.left, area.top, area.right - area.left, area.bottom - area.top,
                                site_window, reinterpret_cast<HMENU>(static_cast<INT_PTR>(kToolbarId)),
                                instance, nullptr));
  if (!hwnd_) {
    ::MessageBoxA(nullptr, "FAILED TO CREATE TOOLBAR", "Page Grabber", MB_OK | MB_ICONERROR);
    return false;
  }
  const HWND bar = hwnd_.get();
  ::SendMessageA(bar, TB_SETEXTENDEDSTYLE, 0, TBSTYLE_EX_DRAWDDARROWS);
  ::SendMessageA(bar, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
  ReadBandSettings(registry, settings);

  small_ = LoadImages(instance, IDB_BAND_SMALL, 16);
  large_ = LoadImages(instance, IDB_BAND_LARGE, 32);
  UseLargeImages(settings->icon_size != 0);

  TBBUTTON buttons[2] = {};
  buttons[0].iBitmap = 0;
  buttons[0].idCommand = kCmdStartSelection;
  buttons[0].fsState = TBSTATE_ENABLED;
  buttons[0].fsStyle = BTNS_CHECK | BTNS_DROPDOWN | BTNS_AUTOSIZE;
  buttons[0].iString = -1;
  buttons[1].iBitmap = 1;
  buttons[1].idCommand = kCmdQuickSave;
  buttons[1].fsState = 0;
  buttons[1].fsStyle = BTNS_AUTOSIZE;
  buttons[1].iString = -1;
  if (settings->text_style != kTextStyleNoLabels) {
    // A double-zero-terminated list of the two labels.
    static const char kLabels[] = "Start Selection\0Quick Save\0";
    const LRESULT first = ::SendMessageA(bar, TB_ADDSTRINGA, 0, reinterpret_cast<LPARAM>(kLabels));
    if (first >= 0) {
      buttons[0].iString = first;
      buttons[1].iString = first + 1;
    }
  }
  ::SendMessageA(bar, TB_ADDBUTTONSA, 2, reinterpret_cast<LPARAM>(buttons));
  ::ShowWindow(bar, SW_SHOW);
  menu_.reset(::LoadMenuA(instance, MAKEINTRESOURCEA(IDR_BAND_MENU)));
  return true;
}

void BandToolbar::Destroy() {
  // The browser may have destroyed its windows, and the toolbar with them, already.
  if (::IsWindow(hwnd_.get())) {
    hwnd_.reset();
  } else {
    hwnd_.release();
  }
}

void BandToolbar::CheckButton(int command, bool checked) {
  ::SendMessageA(hwnd_.get(), TB_CHECKBUTTON, static_cast<WPARAM>(command), MAKELPARAM(checked ? 1 : 0, 0));
}

void BandToolbar::EnableButton(int command, bool enabled) {
  ::SendMessageA(hwnd_.get(), TB_ENABLEBUTTON, static_cast<WPARAM>(command), MAKELPARAM(enabled ? 1 : 0, 0));
}

bool BandToolbar::IsChecked(int command) {
  const LRESULT state = ::SendMessageA(hwnd_.get(), TB_GETSTATE, static_cast<WPARAM>(command), 0);
  return state != -1 && (state & TBSTATE_CHECKED) != 0;
}

void BandToolbar::UseLargeImages(bool large) {
  ::SendMessageA(hwnd_.get(), TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(large ? large_.get() : small_.get()));
}

void BandToolbar::ShowLabels(bool shown) {
  for (int command : {kCmdStartSelection, kCmdQuickSave}) {
    const char* label = shown ? BandCommands::TooltipText(command) : "";
    TBBUTTONINFOA info = {};
    info.cbSize = sizeof info;
    info.dwMask = TBIF_TEXT;
    info.pszText = const_cast<char*>(label);
    ::SendMessageA(hwnd_.get(), TB_SETBUTTONINFOA, static_cast<WPARAM>(command), reinterpret_cast<LPARAM>(&info));
  }
}

}  // namespace ph::band
