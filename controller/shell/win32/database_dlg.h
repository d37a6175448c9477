// CDatabaseDlg: the Database page, the choice between an ODBC data source and an Access file.
#pragma once

#include <windows.h>

#include "controller/shell/win32/modal_dialog.h"

namespace ph {
struct SettingsRecord;
}  // namespace ph

namespace ph::win {

class CDatabaseDlg : public ModalDialog {
 public:
  explicit CDatabaseDlg(const SettingsRecord& settings) : settings_(settings) {}

  // "Use ODBC" is checked.
  bool OdbcChecked() const;

 private:
  void OnInit() override;
  bool OnCommand(int id, int code) override;

  const SettingsRecord& settings_;
};

}  // namespace ph::win
