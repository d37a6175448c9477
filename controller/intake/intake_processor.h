// The controller's intake: the queue of received content, the action table, and the processing step
// that either runs a layout's stored action or asks the user with the save dialog.
#pragma once

#include <deque>

#include "common/base.h"
#include "controller/intake/intake_item.h"
#include "controller/intake/layout_action.h"
#include "controller/intake/output_services.h"
#include "platform/data_file.h"

namespace ph {

class CodePage;
class FileSystem;
class UserPort;

// The most numbered names tried for a taken one before the last is used whatever stands there.
inline constexpr int kMaxNumberedName = 9999;

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
  // UM_CONTENT_INFO: gives the waiting item its layout values, and returns how many UM_PROCESS_NEXT
  // the caller is to post (one for each item made ready; 0 when there was no item for them).
  // The message names no sender: when records of two senders wait at once, the values could
  // belong to either, so every waiting item is made a user's own selection (layout 0, no quick
  // save) rather than risk one taking another's layout and flag.
  int OnContentInfo(std::int32_t layout_id, std::int32_t quick_save);
  // UM_PROCESS_NEXT: works off the front item once its layout values are in. Re-entered from the
  // modal loops it opens.
  void ProcessNext();
  // Nonzero when the layout's stored action saved the item; 0 when the user has to be asked.
  int RunStoredAction(const IntakeItem& item);
  // Stores the layout's action in the table and in "actions.dat", on what the file holds now: the
  // actions other processes stored meanwhile are kept.
  void StoreAction(std::int32_t layout_id, LayoutAction action);

  // A stored action whose file name is taken numbers it ("Title (2).htm") instead of leaving the
  // item to the save dialog: for a program that has nobody to ask.
  void set_number_taken_names(bool number) { number_taken_names_ = number; }

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
  DataFile actions_file_;
  std::deque<IntakeItem> queue_;
  ActionTable actions_;
  // The newest items of the queue still wait for their layout values.
  std::size_t waiting_ = 0;
  // Layout values still on their way for items that were made ready without them.
  std::size_t stray_infos_ = 0;
  bool shutting_down_ = false;
  bool number_taken_names_ = false;
};

}  // namespace ph
