// Scripted answers for the user port.
#include "platform/user.h"

namespace ph {

Answer ScriptedUser::Show(const Message& message) {
  messages_.push_back(message);
  if (!answers_.empty()) {
    const Answer a = answers_.front();
    answers_.pop_front();
    return a;
  }
  switch (message.buttons) {
    case MessageButtons::kYesNo:
    case MessageButtons::kYesNoCancel: return Answer::kYes;
    default: return Answer::kOk;
  }
}

bool ScriptedUser::ChooseFile(const FileChoice& choice, std::string* path) {
  choices_.push_back(choice);
  if (paths_.empty()) return false;
  *path = std::move(paths_.front());
  paths_.pop_front();
  return true;
}

}  // namespace ph
