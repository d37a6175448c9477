// CGeneralDlg: the General page of the settings dialog, a child window that shows and reads back
// its GeneralPageValues.
#pragma once

#include <windows.h>

#include "controller/shell/general_page.h"
#include "controller/shell/win32/modal_dialog.h"
#include "platform/win32/user.h"

namespace ph {
class FileSystem;
struct SettingsRecord;
}  // namespace ph

namespace ph::win {

class CGeneralDlg : public ModalDialog {
 public:
  CGeneralDlg(const SettingsRecord& settings, FileSystem& fs) : settings_(settings), fs_(fs) {}

  // The page's values as its controls hold them now.
  GeneralPageValues Values() const;

 private:
  void OnInit() override;
  bool OnCommand(int id, int code) override;
  INT_PTR OnMessage(UINT message, WPARAM wparam, LPARAM lparam, bool* handled) override;
  void PickColor();
  void TakeHeldKeys(KeyBox box);

  const SettingsRecord& settings_;
  FileSystem& fs_;
  GeneralPageValues page_;  // the colour and the key sets live here, the rest in the controls
  Win32User user_;
};

}  // namespace ph::win
