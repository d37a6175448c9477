// The text of a dialog's control, whatever its length.
#pragma once

#include <windows.h>

#include <string>

namespace ph::win {

inline std::string DialogItemText(HWND dialog, int id) {
  const HWND item = ::GetDlgItem(dialog, id);
  std::string text(static_cast<std::size_t>(::GetWindowTextLengthA(item)) + 1, '\0');
  text.resize(static_cast<std::size_t>(::GetWindowTextA(item, text.data(), static_cast<int>(text.size()))));
  return text;
}

}  // namespace ph::win
