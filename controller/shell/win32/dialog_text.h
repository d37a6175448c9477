// The text of a dialog's controls, whatever its length, and pages whose edit boxes mirror strings.
#pragma once

#include <windows.h>

#include <array>
#include <string>

namespace ph::win {

inline std::string DialogItemText(HWND dialog, int id) {
  const HWND item = ::GetDlgItem(dialog, id);
  std::string text(static_cast<std::size_t>(::GetWindowTextLengthA(item)) + 1, '\0');
  text.resize(static_cast<std::size_t>(::GetWindowTextA(item, text.data(), static_cast<int>(text.size()))));
  return text;
}

// An edit box and the page's copy of its text.
struct BoxCopy {
  int id;
  std::string* copy;
};

// Moves the boxes' texts into the copies.
template <std::size_t N>
void ReadBoxes(HWND dialog, const std::array<BoxCopy, N>& boxes) {
  for (const BoxCopy& box : boxes) *box.copy = DialogItemText(dialog, box.id);
}

// Moves the copies into the boxes.
template <std::size_t N>
void FillBoxes(HWND dialog, const std::array<BoxCopy, N>& boxes) {
  for (const BoxCopy& box : boxes) ::SetDlgItemTextA(dialog, box.id, box.copy->c_str());
}

}  // namespace ph::win
