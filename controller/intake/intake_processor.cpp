// The processing step of the intake and the running of stored actions.
#include "controller/intake/intake_processor.h"

#include "common/handoff_record.h"
#include "controller/intake/actions_file.h"
#include "controller/intake/save_dialog_logic.h"
#include "controller/outputs/file_names.h"
#include "common/settings_record.h"
#include "platform/file_system.h"
#include "platform/user.h"

namespace ph {

IntakeProcessor::IntakeProcessor(const OutputServices& services, FileSystem& fs,
                                 SaveDialogRunner& dialog, UserPort& user,
                                 const CodePage& code_page, std::string actions_path)
    : services_(services),
      fs_(fs),
      dialog_(dialog),
      user_(user),
      code_page_(code_page),
      actions_file_(fs, std::move(actions_path), kMaxActionsFileSize) {}

void IntakeProcessor::LoadActions() {
  const Bytes bytes = actions_file_.Read();
  ParseActions(bytes.data(), bytes.size(), &actions_);
}

void IntakeProcessor::StoreAction(std::int32_t layout_id, LayoutAction action) {
  const auto lock = LockDataFolder(fs_, actions_file_.path());
  if (const auto bytes = actions_file_.ReadIfChanged()) {
    actions_.clear();
    ParseActions(bytes->data(), bytes->size(), &actions_);
  }
  actions_[layout_id] = std::move(action);
  // A failed write is not reported: the table in memory stays in force for this run.
  actions_file_.Write(SerializeActions(actions_));
}

void IntakeProcessor::OnRecord(const void* data, std::size_t size) {
  if (shutting_down_) return;
  queue_.push_back(MakeIntakeItem(UnpackHandoffRecord(data, size), code_page_));
  ++waiting_;
}

int IntakeProcessor::OnContentInfo(std::int32_t layout_id, std::int32_t quick_save) {
  if (shutting_down_) return 0;
  if (waiting_ == 0) {
    // Values of an item made ready without them, or of no record at all: dropped.
    if (stray_infos_ > 0) --stray_infos_;
    return 0;
  }
  const int ready = static_cast<int>(waiting_);
  if (waiting_ == 1 && stray_infos_ == 0) {
    // One record waits and no other values are on their way: these are certainly its own.
    queue_.back().layout_id = layout_id;
    queue_.back().quick_save = quick_save;
  } else {
    // The waiting items keep layout 0 and no quick save; of the values that belong to them (and to
    // the items before them still owed theirs) these were one.
    stray_infos_ += waiting_ - 1;
  }
  waiting_ = 0;
  return ready;
}

void IntakeProcessor::ProcessNext() {
  if (shutting_down_ || queue_.size() <= waiting_) return;
  // Off the queue before any window opens: content that arrives meanwhile queues up behind it and
  // is processed by its own message, and nothing is processed twice.
  const IntakeItem item = std::move(queue_.front());
  queue_.pop_front();

  if (item.quick_save != 0) {
    if (item.layout_id == 0) {
      user_.Show({"Invalid Layout ID", "Error", MessageIcon::kError, MessageButtons::kOk});
    } else if (actions_.count(item.layout_id) != 0 && RunStoredAction(item) != 0) {
      return;
    }
  }

  // The program may have begun to end while the message box was up.
  if (shutting_down_) return;
  LayoutAction action;
  const int result = dialog_.Run(item, &action);
  // Values still owed to items made ready without them come while those items' dialogs are open;
  // once every item is done, none can still be on their way.
  if (queue_.empty()) stray_infos_ = 0;
  if (result != kSaveDone || item.layout_id == 0) return;
  StoreAction(item.layout_id, std::move(action));
}

int IntakeProcessor::RunStoredAction(const IntakeItem& item) {
  const auto found = actions_.find(item.layout_id);
  if (found == actions_.end()) return 0;
  const LayoutAction action = found->second;
  OutputContext context = ContextFromItem(item, action.portion);

  const bool file_kind =
      action.kind == kOutputText || action.kind == kOutputXml || action.kind == kOutputHtml;
  if (file_kind) {
    if (action.folder.empty() || !fs_.Exists(action.folder)) return 0;
    const char* extension = action.kind == kOutputText ? ".txt" : action.kind == kOutputXml ? ".xml" : ".htm";
    // A long title is cut so that the path can still be opened.
    const std::string name = services_.suggest_name(context);
    context.path = PathInFolder(action.folder, name, extension, kPathSeparator);
    // A file of that name is appended to (text and XML, with "Append Files"); otherwise the save
    // dialog asks what to do, or where nobody can be asked, the name is numbered.
    const bool appends = action.kind != kOutputHtml && services_.settings.append_files != 0;
    if (!appends && fs_.Exists(context.path)) {
      if (!number_taken_names_) return 0;
      for (int n = 2; fs_.Exists(context.path) && n <= kMaxNumberedName; ++n)
        context.path = PathInFolder(action.folder, name + " (" + std::to_string(n) + ")", extension, kPathSeparator);
    }
  }

  switch (action.kind) {
    case kOutputText:
    case kOutputXml:
    case kOutputHtml:
    case kOutputClipboard:
    case kOutputDatabase:
      return services_.writers.Write(action.kind, context);
    default:
      // Only a damaged file holds other kinds; they count as done, with nothing written.
      return 1;
  }
}

}  // namespace ph
