// The controller's intake: the queue of received content, the action table, and the processing step
// that either runs a layout's stored action or asks the user with the save dialog.
#pragma once

#include <deque>

#include "common/base.h"
#include "common/intake_item.h"
#include "controller/intake/layout_action.h"
#include "controller/intake/output_services.h"

namespace ph {

class CodePage;
class FileSystem;
class UserPort;

// Shows the save dialog for one item (no parent window) and returns its modal result: kSaveDone
// with action filled in, or kSaveCancelled.
class SaveDialogRunner {
 public:
  virtual ~SaveDialogRunner() = default;
  virtual int Run(const IntakeItem& item, LayoutAction* action) = 0;
};

class IntakeProcessor {
 public:
  // user shows this step's own message (owned by the main window); actions_path is "actions.dat"
  // beside the program.
  IntakeProcessor(const OutputServices& services, FileSystem& fs, SaveDialogRunner& dialog,
                  UserPort& user, const CodePage& code_page, std::string actions_path);

  // Reads "actions.dat" into the table (window creation).
  void LoadActions();

  // WM_COPYDATA: queues the record's content with layout id 0 and flag 0.
  void OnRecord(const void* data, std::size_t size);
  // UM_CONTENT_INFO: gives the newest item its layout values. True when the caller is to post
  // UM_PROCESS_NEXT; false when there was no item to take them.
  bool OnContentInfo(std::int32_t layout_id, std::int32_t quick_save);
  // UM_PROCESS_NEXT: works off the front item. Re-entered from the modal loops it opens.
  void ProcessNext();
  // Nonzero when the layout's stored action saved the item; 0 when the user has to be asked.
  int RunStoredAction(const IntakeItem& item);

  // From here on nothing new is taken in or started: content arriving while the program ends is
  // dropped whole rather than left half done.
  void BeginShutdown() { shutting_down_ = true; }

  const ActionTable& actions() const { return actions_; }
  const std::deque<IntakeItem>& queue() const { return queue_; }

 private:
  OutputServices services_;
  FileSystem& fs_;
  SaveDialogRunner& dialog_;
  UserPort& user_;
  const CodePage& code_page_;
  std::string actions_path_;
  std::deque<IntakeItem> queue_;
  ActionTable actions_;
  bool shutting_down_ = false;
};

}  // namespace ph
