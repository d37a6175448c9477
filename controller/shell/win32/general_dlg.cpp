// The General page's window: fills its controls, takes the held keys and the chosen colour, and
// paints the swatch.
#include "controller/shell/win32/general_dlg.h"

#include <commdlg.h>

#include "controller/shell/win32/dialog_text.h"
#include "platform/win32/unique_handle.h"
#include "resources/resource.h"

namespace ph::win {
namespace {

constexpr int kKeyBoxIds[kKeyBoxCount] = {IDC_NORMAL_KEY, IDC_MULTI_KEY, IDC_DESELECT_KEY, IDC_EXCLUDE_TABLE_KEY};
constexpr int kAppendTypeIds[] = {IDC_APPEND_NOTHING, IDC_APPEND_DATETIME, IDC_APPEND_CONTENT};

// The colour chooser's custom colours: one set for the whole run, shared by every opening.
COLORREF g_custom_colors[16] = {};

void Check(HWND dialog, int id, bool checked) {
  ::CheckDlgButton(dialog, id, checked ? BST_CHECKED : BST_UNCHECKED);
}

bool Checked(HWND dialog, int id) { return ::IsDlgButtonChecked(dialog, id) == BST_CHECKED; }

}  // namespace

void CGeneralDlg::OnInit() {
  user_.set_owner(hwnd());
  page_ = GeneralPageFromSettings(settings_);
  Check(hwnd(), IDC_AUTO_START, page_.auto_start);
  Check(hwnd(), IDC_SUPPRESS_LINKS, page_.suppress_hyperlinks);
  Check(hwnd(), IDC_DATETIME_URL, page_.datetime_url);
  for (int box = 0; box < kKeyBoxCount; ++box)
    ::SetDlgItemTextA(hwnd(), kKeyBoxIds[box], ModifierSetText(page_.keys[box]).c_str());
  for (int type = 0; type < 3; ++type) Check(hwnd(), kAppendTypeIds[type], page_.append_type == type);
  ::SetDlgItemTextA(hwnd(), IDC_APPEND_LENGTH, page_.length_text.c_str());
}

GeneralPageValues CGeneralDlg::Values() const {
  GeneralPageValues values = page_;
  values.auto_start = Checked(hwnd(), IDC_AUTO_START);
  values.suppress_hyperlinks = Checked(hwnd(), IDC_SUPPRESS_LINKS);
  values.datetime_url = Checked(hwnd(), IDC_DATETIME_URL);
  values.length_text = DialogItemText(hwnd(), IDC_APPEND_LENGTH);
  values.append_type = -1;
  for (int type = 0; type < 3; ++type)
    if (Checked(hwnd(), kAppendTypeIds[type])) {
      values.append_type = type;
      break;
    }
  return values;
}

bool CGeneralDlg::OnCommand(int id, int code) {
  // The sunken boxes report clicks as STN_CLICKED, which has the value of BN_CLICKED.
  if (code != BN_CLICKED) return false;
  for (int box = 0; box < kKeyBoxCount; ++box)
    if (id == kKeyBoxIds[box]) {
      TakeHeldKeys(static_cast<KeyBox>(box));
      return true;
    }
  switch (id) {
    case IDC_CHOOSE_COLOR:
      PickColor();
      return true;
    case IDC_APPEND_NOTHING:
    case IDC_APPEND_DATETIME:
    case IDC_APPEND_CONTENT:
      ::CheckRadioButton(hwnd(), IDC_APPEND_NOTHING, IDC_APPEND_CONTENT, id);
      return true;
    case IDC_CLEAR_QUICK_SAVE:
      ClearQuickSaveData(user_, fs_);
      return true;
    default:
      return false;
  }
}

void CGeneralDlg::TakeHeldKeys(KeyBox box) {
  BYTE keys[256] = {};
  ::GetKeyboardState(keys);
  page_.keys[box] = MakeModifierSet(keys[VK_SHIFT] & 0x80, keys[VK_CONTROL] & 0x80, keys[VK_MENU] & 0x80);
  ::SetDlgItemTextA(hwnd(), kKeyBoxIds[box], ModifierSetText(page_.keys[box]).c_str());
}

void CGeneralDlg::PickColor() {
  CHOOSECOLORA choice = {};
  choice.lStructSize = sizeof choice;
  choice.hwndOwner = hwnd();
  choice.rgbResult = page_.color;
  choice.lpCustColors = g_custom_colors;
  choice.Flags = CC_RGBINIT | CC_ANYCOLOR;
  if (::ChooseColorA(&choice)) page_.color = choice.rgbResult;
  const HWND swatch = ::GetDlgItem(hwnd(), IDC_COLOR_SWATCH);
  ::InvalidateRect(swatch, nullptr, TRUE);
  ::UpdateWindow(swatch);
}

INT_PTR CGeneralDlg::OnMessage(UINT message, WPARAM, LPARAM lparam, bool* handled) {
  if (message != WM_DRAWITEM) return 0;
  const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lparam);
  if (item->CtlID != IDC_COLOR_SWATCH) return 0;
  const UniqueHbrush brush(::CreateSolidBrush(page_.color));
  ::FillRect(item->hDC, &item->rcItem, brush.get());
  *handled = true;
  return TRUE;
}

}  // namespace ph::win
