// The one pattern of the controller's dialogs and their pages: a template, OnInit/OnCommand, a
// result set by End.
#pragma once

#include <windows.h>

namespace ph::win {

class ModalDialog {
 public:
  virtual ~ModalDialog() = default;

  // Runs the template modally. Returns what End was given; a dialog that ended any other way (the
  // program quitting under it) counts as cancelled (-1).
  INT_PTR Run(HINSTANCE instance, int template_id, HWND owner);
  // Makes the template a child window of parent (a page of a dialog that runs modally), hidden
  // until shown; it goes with its parent. The child's control id is the template id, so that
  // the page can be found under its parent.
  HWND CreateChild(HINSTANCE instance, int template_id, HWND parent);

 protected:
  virtual void OnInit() {}
  // True when the command was handled.
  virtual bool OnCommand(int id, int code) { return false; }
  // Any other message; set *handled to answer it.
  virtual INT_PTR OnMessage(UINT message, WPARAM wparam, LPARAM lparam, bool* handled) { return 0; }

  void End(INT_PTR result);
  HWND hwnd() const { return hwnd_; }
  HINSTANCE instance() const { return instance_; }

 private:
  static INT_PTR CALLBACK Proc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam);

  HWND hwnd_ = nullptr;
  HINSTANCE instance_ = nullptr;
  INT_PTR result_ = -1;
};

// The program's icon (resource 128) at the small size, as dialogs put it in their title bars.
void SetSmallIcon(HWND dialog, HINSTANCE instance);

}  // namespace ph::win
