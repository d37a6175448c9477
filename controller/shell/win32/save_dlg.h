// CSaveDlg: the save dialog's window, forwarding each button to SaveDialogLogic.
#pragma once

#include <windows.h>

#include <optional>

#include "controller/intake/intake_processor.h"
#include "controller/intake/save_dialog_logic.h"
#include "controller/shell/win32/modal_dialog.h"
#include "platform/win32/user.h"

namespace ph::win {

class CSaveDlg : public ModalDialog {
 public:
  CSaveDlg(const IntakeItem& item, LayoutAction* action, const OutputServices& services);
  // 0 when a choice was carried out, -1 when the user cancelled.
  int DoModal(HINSTANCE instance);

 private:
  void OnInit() override;
  bool OnCommand(int id, int code) override;
  void BringToForeground();

  IntakeItem item_;
  LayoutAction* action_;
  OutputServices services_;
  Win32User chooser_user_;
  std::optional<SaveDialogLogic> logic_;
};

// Runs a CSaveDlg for each item the intake cannot save on its own.
class Win32SaveDialogRunner : public SaveDialogRunner {
 public:
  Win32SaveDialogRunner(HINSTANCE instance, const OutputServices& services)
      : instance_(instance), services_(services) {}
  int Run(const IntakeItem& item, LayoutAction* action) override;

 private:
  HINSTANCE instance_;
  OutputServices services_;
};

}  // namespace ph::win
