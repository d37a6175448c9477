// CSettingsDlg: the settings dialog, a tree of four pages beside the page chosen in it.
#pragma once

#include <windows.h>

#include "controller/shell/win32/access_dlg.h"
#include "controller/shell/win32/database_dlg.h"
#include "controller/shell/win32/general_dlg.h"
#include "controller/shell/win32/modal_dialog.h"
#include "controller/shell/win32/odbc_dlg.h"
#include "platform/win32/user.h"

namespace ph {
class FileSystem;
class Registry;
struct SettingsRecord;
}  // namespace ph

namespace ph::win {

class CSettingsDlg : public ModalDialog {
 public:
  // settings is the program's record, saved to registry (with exe_path for the Run value) on OK.
  CSettingsDlg(SettingsRecord& settings, Registry& registry, FileSystem& fs, std::string exe_path);

  // Runs the dialog modally; its pages are made anew, from the record, at each opening.
  void DoModal(HINSTANCE instance, HWND owner);

 private:
  void OnInit() override;
  bool OnCommand(int id, int code) override;
  INT_PTR OnMessage(UINT message, WPARAM wparam, LPARAM lparam, bool* handled) override;
  void ShowPage(int index);
  void Confirm();

  SettingsRecord& settings_;
  Registry& registry_;
  std::string exe_path_;
  CGeneralDlg general_;
  CDatabaseDlg database_;
  CODBCDlg odbc_;
  CAccessDlg access_;
  HWND pages_[4] = {};
  Win32User user_;
};

}  // namespace ph::win
