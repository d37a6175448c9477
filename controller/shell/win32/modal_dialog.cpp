// The dialog procedure behind every ModalDialog and every page made from one.
#include "controller/shell/win32/modal_dialog.h"

#include "platform/win32/edge_guard.h"
#include "resources/resource.h"

namespace ph::win {

INT_PTR ModalDialog::Run(HINSTANCE instance, int template_id, HWND owner) {
  instance_ = instance;
  result_ = -1;
  ::DialogBoxParamA(instance, MAKEINTRESOURCEA(template_id), owner, &ModalDialog::Proc,
                    reinterpret_cast<LPARAM>(this));
  return result_;
}

HWND ModalDialog::CreateChild(HINSTANCE instance, int template_id, HWND parent) {
  instance_ = instance;
  const HWND child = ::CreateDialogParamA(instance, MAKEINTRESOURCEA(template_id), parent, &ModalDialog::Proc,
                                          reinterpret_cast<LPARAM>(this));
  if (child) ::SetWindowLongPtrA(child, GWLP_ID, template_id);
  return child;
}

void ModalDialog::End(INT_PTR result) {
  result_ = result;
  ::EndDialog(hwnd_, result);
}

INT_PTR CALLBACK ModalDialog::Proc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
  ModalDialog* self;
  if (message == WM_INITDIALOG) {
    self = reinterpret_cast<ModalDialog*>(lparam);
    ::SetWindowLongPtrA(hwnd, DWLP_USER, lparam);
    self->hwnd_ = hwnd;
  } else {
    self = reinterpret_cast<ModalDialog*>(::GetWindowLongPtrA(hwnd, DWLP_USER));
  }
  if (!self) return FALSE;
  // Nothing may unwind through the system's dialog manager.
  return GuardProcedure<INT_PTR>("ModalDialog::Proc", FALSE, [&]() -> INT_PTR {
    switch (message) {
      case WM_INITDIALOG:
        self->OnInit();
        return TRUE;
      case WM_COMMAND:
        return self->OnCommand(LOWORD(wparam), HIWORD(wparam)) ? TRUE : FALSE;
      default: {
        bool handled = false;
        const INT_PTR result = self->OnMessage(message, wparam, lparam, &handled);
        return handled ? result : FALSE;
      }
    }
  });
}

void SetSmallIcon(HWND dialog, HINSTANCE instance) {
  // A shared icon from LoadImage is owned by the system and needs no destroying.
  const auto icon = static_cast<HICON>(::LoadImageA(instance, MAKEINTRESOURCEA(IDR_MAINFRAME), IMAGE_ICON,
                                                    ::GetSystemMetrics(SM_CXSMICON),
                                                    ::GetSystemMetrics(SM_CYSMICON), LR_SHARED));
  if (icon) ::SendMessageA(dialog, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
}

}  // namespace ph::win
