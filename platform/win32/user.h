// The user port over Win32 message boxes and the common file choosers, owned by one window.
#pragma once

#include <windows.h>

#include "platform/user.h"

namespace ph::win {

class Win32User : public UserPort {
 public:
  // owner may be null (the window in front of the program then owns each message); a message without caption takes the title of string resource 57344 of the
  // program, or app_title when it has none.
  explicit Win32User(HWND owner = nullptr, std::string app_title = "GrabController");

  Answer Show(const Message& message) override;
  bool ChooseFile(const FileChoice& choice, std::string* path) override;

  void set_owner(HWND owner) { owner_ = owner; }

 private:
  HWND Owner() const;

  HWND owner_;
  std::string app_title_;
};

}  // namespace ph::win
