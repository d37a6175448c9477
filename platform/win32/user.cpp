// Message boxes and file choosers through MessageBoxA and GetSaveFileNameA/GetOpenFileNameA.
#include "platform/win32/user.h"

#include <commdlg.h>

#include <vector>

#include "common/utf8.h"

namespace ph::win {
namespace {

constexpr UINT kAppTitleString = 57344;

UINT IconFlag(MessageIcon icon) {
  switch (icon) {
    case MessageIcon::kError: return MB_ICONERROR;
    case MessageIcon::kWarning: return MB_ICONWARNING;
    case MessageIcon::kInformation: return MB_ICONINFORMATION;
    case MessageIcon::kQuestion: return MB_ICONQUESTION;
    default: return 0;
  }
}

UINT ButtonFlag(MessageButtons buttons) {
  switch (buttons) {
    case MessageButtons::kOkCancel: return MB_OKCANCEL;
    case MessageButtons::kYesNo: return MB_YESNO;
    case MessageButtons::kYesNoCancel: return MB_YESNOCANCEL;
    default: return MB_OK;
  }
}

Answer AnswerOf(int id) {
  switch (id) {
    case IDYES: return Answer::kYes;
    case IDNO: return Answer::kNo;
    case IDCANCEL: return Answer::kCancel;
    default: return Answer::kOk;
  }
}

}  // namespace

Win32User::Win32User(HWND owner, std::string app_title) : owner_(owner), app_title_(std::move(app_title)) {
  char title[256];
  if (::LoadStringA(::GetModuleHandleA(nullptr), kAppTitleString, title, sizeof title) > 0)
    app_title_ = title;
}

HWND Win32User::Owner() const {
  // Without an owner of its own a message belongs to the program's window in front (an open save
  // dialog, say), so that the window under it takes no clicks until the message is answered.
  return owner_ ? owner_ : ::GetActiveWindow();
}

Answer Win32User::Show(const Message& message) {
  const std::string& caption = message.caption.empty() ? app_title_ : message.caption;
  return AnswerOf(::MessageBoxA(Owner(), message.text.c_str(), caption.c_str(),
                                IconFlag(message.icon) | ButtonFlag(message.buttons)));
}

bool Win32User::ChooseFile(const FileChoice& choice, std::string* path) {
  // The filter's parts are separated by '|' in the port and by zero characters in the call.
  std::string filter = choice.filter;
  for (char& c : filter)
    if (c == '|') c = '\0';
  filter.append(2, '\0');

  // Room for long paths; an initial name that does not fit is cut rather than refused, between
  // two characters.
  std::vector<char> file(4096, '\0');
  Utf8Prefix(choice.initial_name, file.size() - 1).copy(file.data(), file.size() - 1);

  OPENFILENAMEA ofn = {};
  ofn.lStructSize = sizeof ofn;
  ofn.hwndOwner = Owner();
  ofn.lpstrFilter = choice.filter.empty() ? nullptr : filter.c_str();
  ofn.lpstrFile = file.data();
  ofn.nMaxFile = static_cast<DWORD>(file.size());
  ofn.lpstrInitialDir = choice.initial_folder.empty() ? nullptr : choice.initial_folder.c_str();
  ofn.lpstrDefExt = choice.default_ext.empty() ? nullptr : choice.default_ext.c_str();
  ofn.Flags = OFN_HIDEREADONLY | OFN_EXPLORER | OFN_ENABLESIZING | OFN_NOCHANGEDIR;
  if (choice.overwrite_prompt) ofn.Flags |= OFN_OVERWRITEPROMPT;
  if (choice.file_must_exist) ofn.Flags |= OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST;

  const BOOL ok = choice.save ? ::GetSaveFileNameA(&ofn) : ::GetOpenFileNameA(&ofn);
  if (!ok) return false;
  *path = file.data();
  return true;
}

}  // namespace ph::win
