// The settings dialog's window: the page tree, the pages placed beside it, and OK and Cancel.
#include "controller/shell/win32/settings_dlg.h"

#include <commctrl.h>

#include "controller/shell/settings_pages.h"
#include "resources/resource.h"

namespace ph::win {
namespace {

// The tree's items in order; each names its page by index, and "Database" holds the two below it.
constexpr struct {
  const char* text;
  int template_id;
  bool under_database;
} kPages[] = {
    {"General", IDD_GENERAL, false},
    {"Database", IDD_DATABASE, false},
    {"ODBC Configuration", IDD_ODBC, true},
    {"Access Configuration", IDD_ACCESS, true},
};
constexpr int kDatabaseItem = 1;
constexpr int kPageGap = 3;  // pixels between the tree and the page

HTREEITEM InsertItem(HWND tree, HTREEITEM parent, const char* text, int page) {
  TVINSERTSTRUCTA insert = {};
  insert.hParent = parent;
  insert.hInsertAfter = TVI_LAST;
  insert.item.mask = TVIF_TEXT | TVIF_PARAM;
  insert.item.pszText = const_cast<char*>(text);
  insert.item.lParam = page;
  return reinterpret_cast<HTREEITEM>(::SendMessageA(tree, TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&insert)));
}

}  // namespace

CSettingsDlg::CSettingsDlg(SettingsRecord& settings, Registry& registry, FileSystem& fs, std::string exe_path)
    : settings_(settings),
      registry_(registry),
      exe_path_(std::move(exe_path)),
      general_(settings, fs),
      database_(settings),
      odbc_(settings),
      access_(settings) {}

void CSettingsDlg::DoModal(HINSTANCE instance, HWND owner) { Run(instance, IDD_SETTINGS, owner); }

void CSettingsDlg::OnInit() {
  SetSmallIcon(hwnd(), instance());
  user_.set_owner(hwnd());

  const HWND tree = ::GetDlgItem(hwnd(), IDC_PAGE_TREE);
  HTREEITEM database = nullptr;
  for (int page = 0; page < 4; ++page) {
    const HTREEITEM item = InsertItem(tree, kPages[page].under_database ? database : TVI_ROOT, kPages[page].text, page);
    if (page == kDatabaseItem) database = item;
  }
  ::SendMessageA(tree, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(database));

  ModalDialog* const page_objects[4] = {&general_, &database_, &odbc_, &access_};
  RECT tree_rect = {};
  ::GetWindowRect(tree, &tree_rect);
  ::MapWindowPoints(nullptr, hwnd(), reinterpret_cast<POINT*>(&tree_rect), 2);
  for (int page = 0; page < 4; ++page) {
    pages_[page] = page_objects[page]->CreateChild(instance(), kPages[page].template_id, hwnd());
    ::SetWindowPos(pages_[page], nullptr, tree_rect.right + kPageGap, tree_rect.top, 0, 0,
                   SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  ShowPage(0);
}

void CSettingsDlg::ShowPage(int index) {
  for (HWND page : pages_) ::ShowWindow(page, SW_HIDE);
  if (index >= 0 && index < 4) ::ShowWindow(pages_[index], SW_SHOW);
}

void CSettingsDlg::Confirm() {
  SettingsPages pages;
  pages.general = general_.Values();
  pages.odbc_checked = database_.OdbcChecked();
  pages.odbc = odbc_.Values();
  pages.access = access_.Values();
  if (ConfirmSettings(pages, &settings_, user_, registry_, exe_path_)) End(IDOK);
}

bool CSettingsDlg::OnCommand(int id, int) {
  switch (id) {
    case IDOK:
      Confirm();
      return true;
    case IDCANCEL:
      End(IDCANCEL);
      return true;
    default:
      return false;
  }
}

INT_PTR CSettingsDlg::OnMessage(UINT message, WPARAM, LPARAM lparam, bool* handled) {
  if (message != WM_NOTIFY) return 0;
  const auto* header = reinterpret_cast<const NMHDR*>(lparam);
  // The item's page index sits at the same place in the ANSI and the wide form of the notice.
  if (header->idFrom != IDC_PAGE_TREE || (header->code != TVN_SELCHANGEDA && header->code != TVN_SELCHANGEDW))
    return 0;
  ShowPage(static_cast<int>(reinterpret_cast<const NMTREEVIEWA*>(lparam)->itemNew.lParam));
  *handled = true;
  return 0;
}

}  // namespace ph::win
