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
// database writer does once the table was reached, whatever became of the row). Text or XML that
// holds nothing to read (a region of one picture) is not written at all: an empty file is no save.
class RecordingWriters : public Writers {
 public:
  RecordingWriters(Writers& inner, ConsoleUser& user, const SettingsRecord& settings)
      : inner_(inner), user_(user), settings_(settings) {}
  int Write(std::int32_t kind, const OutputContext& context) override;
  void Reset() {
    writes_ = 0;
    last_saved_ = false;
    empty_ = false;
    target_.clear();
  }
  int writes() const { return writes_; }
  bool last_saved() const { return last_saved_; }
  // Whether the last write was refused for want of any text.
  bool empty() const { return empty_; }
  // Where the last content that was saved went, in words: the file, the clipboard, the table.
  const std::string& target() const { return target_; }

 private:
  Writers& inner_;
  ConsoleUser& user_;
  const SettingsRecord& settings_;
  int writes_ = 0;
  bool last_saved_ = false;
  bool empty_ = false;
  std::string target_;
};

// The save dialog, answered from the command line.
class CommandLineDialog : public SaveDialogRunner {
 public:
  CommandLineDialog(const DialogAnswer& answer, OutputServices services, const RecordingWriters& writers,
                    ConsoleUser& user)
      : answer_(answer), services_(std::move(services)), writers_(writers), user_(user) {}

  // Presses the button the command line names; without an answer it says why the layout's stored
  // action did not run and what to add, and cancels.
  int Run(const IntakeItem& item, LayoutAction* action) override;

  // The stored actions, to tell a layout without one from one whose action could not run.
  void KnowActions(const ActionTable& actions) { actions_ = &actions; }

  // Who answers when the command line does not (grab host: the user, in a panel in the page).
  using Asker = std::function<std::optional<DialogAnswer>(const IntakeItem& item, const std::string& suggested)>;
  void set_asker(Asker asker) { asker_ = std::move(asker); }
  void Reset() { unanswered_ = false; }
  bool unanswered() const { return unanswered_; }

 private:
  int Press(const IntakeItem& item, LayoutAction* action, const DialogAnswer& answer);
  std::string WhyNotStored(const IntakeItem& item) const;

  const DialogAnswer& answer_;
  OutputServices services_;
  const RecordingWriters& writers_;
  ConsoleUser& user_;
  const ActionTable* actions_ = nullptr;
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
