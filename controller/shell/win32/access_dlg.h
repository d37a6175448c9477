// CAccessDlg: the Access Configuration page, its file, password and table, and its test and
// create-table buttons.
#pragma once

#include <windows.h>

#include "controller/outputs/database_setup.h"
#include "controller/shell/win32/dialog_text.h"
#include "controller/shell/win32/modal_dialog.h"
#include "platform/win32/user.h"

namespace ph {
struct SettingsRecord;
}  // namespace ph

namespace ph::win {

class CAccessDlg : public ModalDialog {
 public:
  explicit CAccessDlg(const SettingsRecord& settings) : settings_(settings) {}

  // The boxes as they read now.
  AccessPageValues Values();

 private:
  void OnInit() override;
  bool OnCommand(int id, int code) override;
  std::array<BoxCopy, 3> Boxes();
  void ReadBoxes();
  void FillBoxes();

  const SettingsRecord& settings_;
  AccessPageValues page_;  // the page's copies
  Win32User user_;
};

}  // namespace ph::win
