// The ODBC page's window: copies to and from its boxes, the source choice, Browse, and the
// buttons that test the connection and create the content table.
#include "controller/shell/win32/odbc_dlg.h"

#include "controller/shell/settings_pages.h"
#include "controller/shell/win32/dialog_text.h"
#include "resources/resource.h"

namespace ph::win {

void CODBCDlg::OnInit() {
  user_.set_owner(hwnd());
  page_ = OdbcPageFromSettings(settings_);
  ::CheckDlgButton(hwnd(), page_.use_file_dsn ? IDC_FILE_DSN_CHOICE : IDC_DSN_CHOICE, BST_CHECKED);
  FillBoxes();
  ApplySourceChoice();
}

std::array<BoxCopy, 6> CODBCDlg::Boxes() {
  return {{{IDC_DSN, &page_.dsn},
           {IDC_FILE_DSN, &page_.file_dsn},
           {IDC_ODBC_USER, &page_.user},
           {IDC_ODBC_PASSWORD, &page_.password},
           {IDC_ODBC_EXTRA, &page_.extra},
           {IDC_ODBC_TABLE, &page_.table}}};
}

void CODBCDlg::ReadBoxes() {
  page_.use_file_dsn = ::IsDlgButtonChecked(hwnd(), IDC_FILE_DSN_CHOICE) == BST_CHECKED ? 1 : 0;
  win::ReadBoxes(hwnd(), Boxes());
}

void CODBCDlg::FillBoxes() { win::FillBoxes(hwnd(), Boxes()); }

void CODBCDlg::ApplySourceChoice() {
  const bool named = ::IsDlgButtonChecked(hwnd(), IDC_DSN_CHOICE) == BST_CHECKED;
  ::CheckDlgButton(hwnd(), named ? IDC_FILE_DSN_CHOICE : IDC_DSN_CHOICE, BST_UNCHECKED);
  ::EnableWindow(::GetDlgItem(hwnd(), IDC_DSN), named);
  ::EnableWindow(::GetDlgItem(hwnd(), IDC_FILE_DSN), !named);
  ::EnableWindow(::GetDlgItem(hwnd(), IDC_BROWSE_DSN), !named);
}

OdbcPageValues CODBCDlg::Values() {
  ReadBoxes();
  return page_;
}

bool CODBCDlg::OnCommand(int id, int code) {
  if (code != BN_CLICKED) return false;
  switch (id) {
    case IDC_DSN_CHOICE:
    case IDC_FILE_DSN_CHOICE:
      ::CheckDlgButton(hwnd(), IDC_DSN_CHOICE, id == IDC_DSN_CHOICE ? BST_CHECKED : BST_UNCHECKED);
      ::CheckDlgButton(hwnd(), IDC_FILE_DSN_CHOICE, id == IDC_FILE_DSN_CHOICE ? BST_CHECKED : BST_UNCHECKED);
      ApplySourceChoice();
      return true;
    case IDC_BROWSE_DSN:
      BrowseIntoBox(hwnd(), Boxes(), user_, OdbcFileDsnChoice(), &page_.file_dsn);
      return true;
    case IDC_TEST_CONNECTION:
      ReadBoxes();
      user_.Show(TestOdbcConnection(*MakeOdbcDatabase(DriverPrompt::kComplete), page_));
      return true;
    case IDC_CREATE_ACCESS_TABLE:
    case IDC_CREATE_MYSQL_TABLE:
      ReadBoxes();
      user_.Show(CreateOdbcTable(*MakeOdbcDatabase(DriverPrompt::kComplete), page_,
                                 id == IDC_CREATE_MYSQL_TABLE ? TableDialect::kMySql : TableDialect::kAccess));
      return true;
    default:
      return false;
  }
}

}  // namespace ph::win
