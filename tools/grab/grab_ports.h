// The band's and the controller's ports as grab fills them: the page it works on, timers that fire
// at once, messages on standard error, the save dialog answered from the command line, and a
// controller link that hands the packed record to the intake in the same process.
#pragma once

#include <iosfwd>

#include "band/engine/band_ports.h"
#include "band/engine/selection_engine.h"
#include "controller/intake/intake_processor.h"
#include "controller/intake/save_dialog_logic.h"
#include "tools/grab/console_user.h"
#include "tools/grab/options.h"

namespace ph::grab {

// The browser window: the page grab works on now.
class CurrentPage : public BrowserPort {
 public:
  DocumentPtr TopDocument() override { return document_; }
  void Set(DocumentPtr document) { document_ = std::move(document); }

 private:
  DocumentPtr document_;
};

class NoToolbar : public ToolbarPort {
 public:
  void CheckButton(int, bool) override {}
  void EnableButton(int, bool) override {}
};

// Timers fire at once when asked to: there is nobody to wait for.
class ImmediateTimers : public TimerPort {
 public:
  void Start(int timer_id, std::uint32_t) override { pending_.push_back(timer_id); }
  void Stop(int timer_id) override;
  // Runs the finish of every timer started, including those that a finish starts in turn.
  void Fire(SelectionEngine& engine);

 private:
  std::vector<int> pending_;
};

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
  void Reset() { unanswered_ = false; }
  bool unanswered() const { return unanswered_; }

 private:
  std::string WhyNotStored(const IntakeItem& item) const;

  const DialogAnswer& answer_;
  OutputServices services_;
  const RecordingWriters& writers_;
  ConsoleUser& user_;
  const ActionTable* actions_ = nullptr;
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
