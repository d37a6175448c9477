// The user port: message boxes, yes/no questions and file choosers, as the user answers them.
#pragma once

#include <deque>
#include <memory>

#include "common/base.h"

namespace ph {

enum class MessageIcon { kNone, kError, kWarning, kInformation, kQuestion };
enum class MessageButtons { kOk, kOkCancel, kYesNo, kYesNoCancel };
enum class Answer { kOk, kCancel, kYes, kNo };

struct Message {
  Message(std::string t = {}, std::string c = {}, MessageIcon i = MessageIcon::kNone,
          MessageButtons b = MessageButtons::kOk, std::string d = {})
      : text(std::move(t)), caption(std::move(c)), icon(i), buttons(b), detail(std::move(d)) {}

  std::string text;
  std::string caption;  // empty: the application's title
  MessageIcon icon = MessageIcon::kNone;
  MessageButtons buttons = MessageButtons::kOk;
  // What a console adds after the text (the file and the system's reason, say); a message box keeps
  // to the text.
  std::string detail;
};

struct FileChoice {
  bool save = true;             // a save chooser, or an open chooser
  std::string filter;           // "Text Files (*.txt)|*.txt|All Files (*.*)|*.*|" form, '|' between parts
  std::string default_ext;      // without the dot; empty for none
  std::string initial_name;     // file name (or full path) shown at the start
  std::string initial_folder;   // empty: the chooser's own choice
  bool overwrite_prompt = false;
  bool file_must_exist = false;
};

class UserPort {
 public:
  virtual ~UserPort() = default;
  virtual Answer Show(const Message& message) = 0;
  // The chosen path, or false when the user cancelled.
  virtual bool ChooseFile(const FileChoice& choice, std::string* path) = 0;
};

// Answers from a script, for tests: records every message and chooser it is shown and answers
// from queues (Ok / the first button, and cancel, when a queue is empty).
class ScriptedUser : public UserPort {
 public:
  Answer Show(const Message& message) override;
  bool ChooseFile(const FileChoice& choice, std::string* path) override;

  void QueueAnswer(Answer a) { answers_.push_back(a); }
  void QueuePath(std::string path) { paths_.push_back(std::move(path)); }

  const std::vector<Message>& messages() const { return messages_; }
  const std::vector<FileChoice>& choices() const { return choices_; }

 private:
  std::deque<Answer> answers_;
  std::deque<std::string> paths_;
  std::vector<Message> messages_;
  std::vector<FileChoice> choices_;
};

}  // namespace ph
