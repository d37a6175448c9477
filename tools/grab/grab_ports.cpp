// The ports grab fills for the engine and the intake.
#include "tools/grab/grab_ports.h"

#include <ostream>

#include "band/engine/extraction.h"
#include "common/handoff_record.h"

namespace ph::grab {

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
    // After a stored action that failed, its error has been told; the layout is not new.
    if (writers_.writes() == 0)
      err_ << "grab: nothing is stored for this page's layout yet; say what to do with its content, "
            "for example --kind html --to FILE (see grab --help)\n";
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
