// The Access page's window: copies to and from its boxes, Browse, and the buttons that open the
// file and create the content table in it.
#include "controller/shell/win32/access_dlg.h"

#include "controller/shell/settings_pages.h"
#include "controller/shell/win32/dialog_text.h"
#include "resources/resource.h"

namespace ph::win {

void CAccessDlg::OnInit() {
  user_.set_owner(hwnd());
  page_ = AccessPageFromSettings(settings_);
  FillBoxes();
}

std::array<BoxCopy, 3> CAccessDlg::Boxes() {
  return {{{IDC_ACCESS_PATH, &page_.path},
           {IDC_ACCESS_PASSWORD, &page_.password},
           {IDC_ACCESS_TABLE, &page_.table}}};
}

void CAccessDlg::ReadBoxes() { win::ReadBoxes(hwnd(), Boxes()); }
void CAccessDlg::FillBoxes() { win::FillBoxes(hwnd(), Boxes()); }

AccessPageValues CAccessDlg::Values() {
  ReadBoxes();
  return page_;
}

bool CAccessDlg::OnCommand(int id, int code) {
  if (code != BN_CLICKED) return false;
  switch (id) {
    case IDC_BROWSE_MDB:
      BrowseIntoBox(hwnd(), Boxes(), user_, AccessFileChoice(), &page_.path);
      return true;
    case IDC_ACCESS_TEST:
      ReadBoxes();
      user_.Show(TestAccessFile(*MakeAccessEngine(), page_));
      return true;
    case IDC_ACCESS_CREATE_TABLE:
      ReadBoxes();
      user_.Show(CreateAccessTable(*MakeAccessEngine(), page_));
      return true;
    default:
      return false;
  }
}

}  // namespace ph::win
