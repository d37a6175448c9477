// The ports grab fills for the engine and the intake.
#include "tools/grab/grab_ports.h"

#include <ostream>

#include "band/engine/extraction.h"
#include "common/handoff_record.h"
#include "controller/outputs/database_output.h"
#include "controller/outputs/output_naming.h"
#include "controller/shell/settings.h"

namespace ph::grab {

namespace {

bool IsBlank(const std::string& text) { return text.find_first_not_of(" \t\r\n\f\v") == std::string::npos; }

std::string TargetOf(std::int32_t kind, const OutputContext& context, const SettingsRecord& settings) {
  switch (kind) {
    case kOutputClipboard: return "the clipboard";
    case kOutputDatabase:
      return settings.db_type == kDatabaseAccess ? "a row of " + settings.access_table + " in " + settings.access_path
                                                 : "a row of " + settings.odbc_table + " in " +
                                                       (settings.use_file_dsn ? settings.file_dsn : settings.dsn);
    default: return context.path;
  }
}

}  // namespace

int RecordingWriters::Write(std::int32_t kind, const OutputContext& context) {
  ++writes_;
  empty_ = (kind == kOutputText || kind == kOutputXml) && IsBlank(ChosenContent(context));
  if (empty_) {
    last_saved_ = false;
    user_.Show({"the content holds no text (a picture alone, say), so nothing was saved as " +
                    std::string(kind == kOutputText ? "text" : "XML") + "; --kind html keeps its pictures",
                "", MessageIcon::kNone, MessageButtons::kOk});
    // Handled: the intake is not to ask again.
    return 1;
  }
  const int errors_before = user_.errors_shown();
  const int result = inner_.Write(kind, context);
  last_saved_ = result != 0 && user_.errors_shown() == errors_before;
  if (last_saved_) target_ = TargetOf(kind, context, settings_);
  return result;
}

std::string CommandLineDialog::WhyNotStored(const IntakeItem& item) const {
  static const char kSayWhat[] = "say what to do with its content, for example --kind html --to FILE (see grab --help)";
  // A selection made by hand is always asked about, as the save dialog opens for it.
  if (item.quick_save == 0) return std::string("the content was picked by hand: ") + kSayWhat;
  const auto found = actions_ ? actions_->find(item.layout_id) : ActionTable::const_iterator();
  if (!actions_ || found == actions_->end()) return std::string("nothing is stored for this page's layout yet; ") + kSayWhat;
  return "the folder of this layout's stored action, " + found->second.folder +
         ", no longer exists; make it again, or say where the content goes with --kind and --to";
}

int CommandLineDialog::Run(const IntakeItem& item, LayoutAction* action) {
  if (answer_.kind < 0 && asker_) {
    const std::optional<DialogAnswer> asked = asker_(item, services_.suggest_name(ContextFromItem(item, kPortionAuto)));
    if (!asked) {
      unanswered_ = true;
      return kSaveCancelled;
    }
    return Press(item, action, *asked);
  }
  return Press(item, action, answer_);
}

int CommandLineDialog::Press(const IntakeItem& item, LayoutAction* action, const DialogAnswer& answer) {
  if (answer.kind < 0) {
    unanswered_ = true;
    // After a stored action that failed, its error has been told.
    if (writers_.writes() == 0) user_.Show({WhyNotStored(item), "", MessageIcon::kNone, MessageButtons::kOk});
    return kSaveCancelled;
  }
  user_.set_answer_path(answer.target);
  SaveDialogLogic dialog(item, action, services_, user_);
  if (answer.kind == kOutputText || answer.kind == kOutputXml || answer.kind == kOutputHtml)
    return dialog.SaveToFile(answer.kind, answer.portion_list_index, answer.append.value_or(dialog.InitialAppend()));
  return dialog.SaveOther(answer.kind, answer.portion_list_index);
}

void IntakeLink::Send(const DocumentPtr& top, const OutgoingContent& content) {
  ++sends_;
  const Bytes record = PackHandoffRecord(OutgoingFields(top, content));
  intake_.OnRecord(record.data(), record.size());
  for (int due = intake_.OnContentInfo(content.layout_id, content.quick_save); due > 0; --due) intake_.ProcessNext();
}

}  // namespace ph::grab
