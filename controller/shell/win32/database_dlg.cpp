// The Database page's window: its two radio buttons.
#include "controller/shell/win32/database_dlg.h"

#include "controller/shell/settings_pages.h"
#include "resources/resource.h"

namespace ph::win {

void CDatabaseDlg::OnInit() {
  const DatabaseChoice choice = DatabasePageFromSettings(settings_);
  ::CheckDlgButton(hwnd(), IDC_USE_ODBC, choice == DatabaseChoice::kOdbc ? BST_CHECKED : BST_UNCHECKED);
  ::CheckDlgButton(hwnd(), IDC_USE_ACCESS, choice == DatabaseChoice::kAccess ? BST_CHECKED : BST_UNCHECKED);
}

bool CDatabaseDlg::OnCommand(int id, int code) {
  if (code != BN_CLICKED || (id != IDC_USE_ODBC && id != IDC_USE_ACCESS)) return false;
  ::CheckRadioButton(hwnd(), IDC_USE_ODBC, IDC_USE_ACCESS, id);
  return true;
}

bool CDatabaseDlg::OdbcChecked() const { return ::IsDlgButtonChecked(hwnd(), IDC_USE_ODBC) == BST_CHECKED; }

}  // namespace ph::win
