// Messages of the writers and the engine on standard error, with what a person can do about them.
#include "tools/grab/console_user.h"

#include <ostream>

namespace ph::grab {
namespace {

// The program's own texts stay as they are; these say what to do next.
struct Hint {
  const char* text;
  const char* hint;
};
constexpr Hint kHints[] = {
    {"Unable to auto selection",
     "grab pick PAGE PATH... or grab select PAGE chooses the regions by hand (grab paths PAGE lists them)"},
    {"Could not open record set!", "is the table there? grab db create-table makes it"},
    {"layout not found!", "grab auto, pick or select on a page of this layout learns it"},
    {"DSN Not Specified! Configure Database First", "name the data source with --dsn NAME or --file-dsn PATH"},
    {"Table name empty!", "name the table with --table NAME"},
};

}  // namespace

std::string MessageLine(const Message& message) {
  std::string line = message.caption.empty() ? std::string() : message.caption + ": ";
  std::string text = message.text;
  // One line a message: the lines of a box's text are joined.
  for (std::size_t at = text.find_first_of("\r\n"); at != std::string::npos; at = text.find_first_of("\r\n", at)) {
    const std::size_t end = text.find_first_not_of("\r\n", at);
    text.replace(at, (end == std::string::npos ? text.size() : end) - at, ": ");
  }
  line += text;
  if (!message.detail.empty()) line += ": " + message.detail;
  for (const Hint& hint : kHints)
    if (message.text == hint.text) line += std::string(" (") + hint.hint + ")";
  return line;
}

ph::Answer ConsoleUser::Show(const Message& message) {
  if (message.icon == MessageIcon::kError) ++errors_shown_;
  if (holding_) {
    held_.push_back(MessageLine(message));
  } else {
    err_ << "grab: " << MessageLine(message) << '\n';
  }
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

std::vector<std::string> ConsoleUser::Release() {
  holding_ = false;
  std::vector<std::string> lines;
  lines.swap(held_);
  return lines;
}

}  // namespace ph::grab
