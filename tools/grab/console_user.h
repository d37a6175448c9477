// The user port of a command-line program: messages go to standard error, questions get no answer.
#pragma once

#include <functional>
#include <iosfwd>
#include <vector>

#include "platform/user.h"

namespace ph::grab {

class ConsoleUser : public UserPort {
 public:
  explicit ConsoleUser(std::ostream& err) : err_(err) {}

  // Prints "grab: CAPTION: TEXT: DETAIL" on one line, with what a person can do about it where grab
  // knows; a question is answered No, as nobody is there to say Yes.
  ph::Answer Show(const Message& message) override;
  // The path that the command line named for this choice, if any.
  bool ChooseFile(const FileChoice& choice, std::string* path) override;

  void set_answer_path(std::string path) { answer_path_ = std::move(path); }
  // Every message is also shown there (grab host: in the user's page, where someone looks).
  void set_echo(std::function<void(const Message&)> echo) { echo_ = std::move(echo); }
  // Errors only: a warning does not undo what was saved.
  int errors_shown() const { return errors_shown_; }

  // From Hold on, the lines are kept instead of printed, until Release hands them over: a page that
  // was not saved is then named once, with them as its reason.
  void Hold() { holding_ = true; }
  std::vector<std::string> Release();

 private:
  std::ostream& err_;
  std::string answer_path_;
  std::function<void(const Message&)> echo_;
  int errors_shown_ = 0;
  bool holding_ = false;
  std::vector<std::string> held_;
};

// The line of a message: caption, text (its lines joined) and detail, and a hint at what to do.
std::string MessageLine(const Message& message);

}  // namespace ph::grab
