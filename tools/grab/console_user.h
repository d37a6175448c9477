// The user port of a command-line program: messages go to standard error, questions get no answer.
#pragma once

#include <functional>
#include <iosfwd>

#include "platform/user.h"

namespace ph::grab {

class ConsoleUser : public UserPort {
 public:
  explicit ConsoleUser(std::ostream& err) : err_(err) {}

  // Prints "grab: CAPTION: TEXT"; a question is answered No, as nobody is there to say Yes.
  ph::Answer Show(const Message& message) override;
  // The path that the command line named for this choice, if any.
  bool ChooseFile(const FileChoice& choice, std::string* path) override;

  void set_answer_path(std::string path) { answer_path_ = std::move(path); }
  // Every message is also shown there (grab host: in the user's page, where someone looks).
  void set_echo(std::function<void(const Message&)> echo) { echo_ = std::move(echo); }
  // Errors only: a warning does not undo what was saved.
  int errors_shown() const { return errors_shown_; }

 private:
  std::ostream& err_;
  std::string answer_path_;
  std::function<void(const Message&)> echo_;
  int errors_shown_ = 0;
};

}  // namespace ph::grab
