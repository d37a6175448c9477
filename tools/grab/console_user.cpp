// Messages of the writers and the engine on standard error.
#include "tools/grab/console_user.h"

#include <ostream>

namespace ph::grab {

ph::Answer ConsoleUser::Show(const Message& message) {
  if (message.icon == MessageIcon::kError) ++errors_shown_;
  err_ << "grab: ";
  if (!message.caption.empty()) err_ << message.caption << ": ";
  err_ << message.text << '\n';
  if (echo_) echo_(message);
  switch (message.buttons) {
    case MessageButtons::kYesNo:
    case MessageButtons::kYesNoCancel: return Answer::kNo;
    case MessageButtons::kOkCancel: return Answer::kCancel;
    case MessageButtons::kOk: break;
  }
  return Answer::kOk;
}

bool ConsoleUser::ChooseFile(const FileChoice& /*choice*/, std::string* path) {
  if (answer_path_.empty()) return false;
  *path = answer_path_;
  return true;
}

}  // namespace ph::grab
