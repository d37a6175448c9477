// The save dialog's window: fills its controls, brings itself forward, forwards its buttons.
#include "controller/shell/win32/save_dlg.h"

#include "resources/resource.h"

namespace ph::win {

CSaveDlg::CSaveDlg(const IntakeItem& item, LayoutAction* action, const OutputServices& services)
    : item_(item), action_(action), services_(services) {}

int CSaveDlg::DoModal(HINSTANCE instance) {
  return static_cast<int>(Run(instance, IDD_SAVE, nullptr)) == kSaveDone ? kSaveDone : kSaveCancelled;
}

void CSaveDlg::OnInit() {
  chooser_user_.set_owner(hwnd());
  logic_.emplace(item_, action_, services_, chooser_user_);

  SetSmallIcon(hwnd(), instance());
  ::SetDlgItemTextA(hwnd(), IDC_PREVIEW, logic_->PreviewText().c_str());
  const HWND list = ::GetDlgItem(hwnd(), IDC_PORTION);
  for (const char* entry : kPortionEntries)
    ::SendMessageA(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry));
  ::SendMessageA(list, CB_SETCURSEL, 0, 0);
  ::CheckDlgButton(hwnd(), IDC_APPEND, logic_->InitialAppend() ? BST_CHECKED : BST_UNCHECKED);
  BringToForeground();
}

// The controller runs in the background, and the system does not let a background process take
// the foreground; joining the input of the foreground window's thread for a moment does.
void CSaveDlg::BringToForeground() {
  const DWORD own = ::GetCurrentThreadId();
  const HWND front = ::GetForegroundWindow();
  const DWORD other = front ? ::GetWindowThreadProcessId(front, nullptr) : 0;
  const bool attached = other != 0 && other != own && ::AttachThreadInput(own, other, TRUE);
  ::SetForegroundWindow(hwnd());
  if (attached) ::AttachThreadInput(own, other, FALSE);
}

bool CSaveDlg::OnCommand(int id, int code) {
  if (code != BN_CLICKED) return false;
  const int list_index = static_cast<int>(::SendDlgItemMessageA(hwnd(), IDC_PORTION, CB_GETCURSEL, 0, 0));
  const bool append = ::IsDlgButtonChecked(hwnd(), IDC_APPEND) == BST_CHECKED;
  switch (id) {
    case IDC_SAVE_TEXT: End(logic_->SaveToFile(kOutputText, list_index, append)); return true;
    case IDC_SAVE_XML: End(logic_->SaveToFile(kOutputXml, list_index, append)); return true;
    case IDC_SAVE_HTML: End(logic_->SaveToFile(kOutputHtml, list_index, append)); return true;
    case IDC_SAVE_CLIPBOARD: End(logic_->SaveOther(kOutputClipboard, list_index)); return true;
    case IDC_SAVE_DATABASE: End(logic_->SaveOther(kOutputDatabase, list_index)); return true;
    case IDCANCEL: End(kSaveCancelled); return true;
    default: return false;
  }
}

int Win32SaveDialogRunner::Run(const IntakeItem& item, LayoutAction* action) {
  CSaveDlg dialog(item, action, services_);
  return dialog.DoModal(instance_);
}

}  // namespace ph::win
