// The band's and the controller's ports as grab fills them: the page it works on, timers that fire
// at once, messages on standard error, the save dialog answered from the command line, and a
// controller link that hands the packed record to the intake in the same process.
#pragma once

#include <iosfwd>

#include "band/engine/band_ports.h"
#include "band/engine/program_ports.h"
#include "band/engine/selection_engine.h"
#include "controller/intake/intake_processor.h"
#include "controller/intake/save_dialog_logic.h"
#include "tools/grab/console_user.h"
#include "tools/grab/options.h"

namespace ph::grab {

using CurrentPage = ShownPage;

class ConsoleMessages : public MessagePort {
 public:
  explicit ConsoleMessages(UserPort& user) : user_(user) {}
  void Show(MessageOwner, const Message& message) override { user_.Show(message); }

 private:
  UserPort& user_;
};

// Records the result of every write, so that the run can say whether the content was saved. A write
// that showed an error did not save, even when the writer counts the content as handled (the
// database writer does once the table was reached, whatever became of the row).
class RecordingWriters : public Writers {
 public:
  RecordingWriters(Writers& inner, const ConsoleUser& user) : inner_(inner), user_(user) {}
  int Write(std::int32_t kind, const OutputContext& context) override {
    const int errors_before = user_.errors_shown();
    last_result_ = inner_.Write(kind, context);
    last_kind_ = kind;
    last_path_ = context.path;
    last_saved_ = last_result_ != 0 && user_.errors_shown() == errors_before;
    ++writes_;
    return last_result_;
  }
  void Reset() {
    writes_ = 0;
    last_result_ = 0;
    last_saved_ = false;
  }
  int writes() const { return writes_; }
  int last_result() const { return last_result_; }
  bool last_saved() const { return last_saved_; }
  // Where the last write went: its kind, and the file for the file kinds.
  std::int32_t last_kind() const { return last_kind_; }
  const std::string& last_path() const { return last_path_; }

 private:
  Writers& inner_;
  const ConsoleUser& user_;
  int writes_ = 0;
  int last_result_ = 0;
  bool last_saved_ = false;
  std::int32_t last_kind_ = -1;
  std::string last_path_;
};

// The save dialog, answered from the command line.
class CommandLineDialog : public SaveDialogRunner {
 public:
  CommandLineDialog(const DialogAnswer& answer, OutputServices services, const RecordingWriters& writers,
                    ConsoleUser& user, std::ostream& err)
      : answer_(answer), services_(std::move(services)), writers_(writers), user_(user), err_(err) {}

  // Presses the button the command line names; without an answer it asks the asker when there is
  // one, else says what to add and cancels.
  int Run(const IntakeItem& item, LayoutAction* action) override;

  // Who answers when the command line does not (grab host: the user, in a panel in the page).
  using Asker = std::function<std::optional<DialogAnswer>(const IntakeItem& item, const std::string& suggested)>;
  void set_asker(Asker asker) { asker_ = std::move(asker); }

  void Reset() { unanswered_ = false; }
  bool unanswered() const { return unanswered_; }

 private:
  int Press(const IntakeItem& item, LayoutAction* action, const DialogAnswer& answer);

  const DialogAnswer& answer_;
  OutputServices services_;
  const RecordingWriters& writers_;
  ConsoleUser& user_;
  std::ostream& err_;
  Asker asker_;
  bool unanswered_ = false;
};

// The controller link: the content travels as a packed hand-off record into the intake.
class IntakeLink : public ControllerLinkPort {
 public:
  explicit IntakeLink(IntakeProcessor& intake) : intake_(intake) {}

  // Packs the record, hands it and the content information to the intake, and lets the intake
  // work it off, as the controller's window does on the messages that follow.
  void Send(const DocumentPtr& top, const OutgoingContent& content) override;

  void Reset() { sends_ = 0; }
  int sends() const { return sends_; }

 private:
  IntakeProcessor& intake_;
  int sends_ = 0;
};

}  // namespace ph::grab
