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

void CAccessDlg::ReadBoxes() {
  page_.path = DialogItemText(hwnd(), IDC_ACCESS_PATH);
  page_.password = DialogItemText(hwnd(), IDC_ACCESS_PASSWORD);
  page_.table = DialogItemText(hwnd(), IDC_ACCESS_TABLE);
}

void CAccessDlg::FillBoxes() {
  ::SetDlgItemTextA(hwnd(), IDC_ACCESS_PATH, page_.path.c_str());
  ::SetDlgItemTextA(hwnd(), IDC_ACCESS_PASSWORD, page_.password.c_str());
  ::SetDlgItemTextA(hwnd(), IDC_ACCESS_TABLE, page_.table.c_str());
}

AccessPageValues CAccessDlg::Values() {
  ReadBoxes();
  return page_;
}

// As on the ODBC page, what was typed into the other boxes survives choosing a file.
void CAccessDlg::Browse() {
  ReadBoxes();
  std::string path;
  if (!user_.ChooseFile(AccessFileChoice(), &path)) return;
  page_.path = path;
  FillBoxes();
}

bool CAccessDlg::OnCommand(int id, int code) {
  if (code != BN_CLICKED) return false;
  switch (id) {
    case IDC_BROWSE_MDB:
      Browse();
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
