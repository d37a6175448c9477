// The text of a dialog's controls, whatever its length, and pages whose edit boxes mirror strings.
#pragma once

#include <windows.h>

#include <array>
#include <string>

#include "platform/user.h"

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

// A page's Browse button: the path chosen goes into one box's copy, and what was typed into the
// other boxes is read first, so that choosing a file loses none of it.
template <std::size_t N>
void BrowseIntoBox(HWND dialog, const std::array<BoxCopy, N>& boxes, UserPort& user, const FileChoice& choice,
                   std::string* copy) {
  ReadBoxes(dialog, boxes);
  std::string path;
  if (!user.ChooseFile(choice, &path)) return;
  *copy = path;
  FillBoxes(dialog, boxes);
}

}  // namespace ph::win
