// The ports grab fills for the engine and the intake.
#include "tools/grab/grab_ports.h"

#include <algorithm>
#include <ostream>

#include "band/engine/extraction.h"
#include "common/handoff_record.h"

namespace ph::grab {

void ImmediateTimers::Stop(int timer_id) {
  pending_.erase(std::remove(pending_.begin(), pending_.end(), timer_id), pending_.end());
}

void ImmediateTimers::Fire(SelectionEngine& engine) {
  while (!pending_.empty()) {
    const int id = pending_.front();
    pending_.erase(pending_.begin());
    engine.OnTimer(id);
  }
}

int CommandLineDialog::Run(const IntakeItem& item, LayoutAction* action) {
  if (answer_.kind < 0) {
    unanswered_ = true;
    // After a stored action that failed, its error has been told; the layout is not new.
    if (writers_.writes() == 0)
      err_ << "grab: nothing is stored for this page's layout yet; say what to do with its content, "
            "for example --kind html --to FILE (see grab --help)\n";
    return kSaveCancelled;
  }
  user_.set_answer_path(answer_.target);
  SaveDialogLogic dialog(item, action, services_, user_);
  if (answer_.kind == kOutputText || answer_.kind == kOutputXml || answer_.kind == kOutputHtml)
    return dialog.SaveToFile(answer_.kind, answer_.portion_list_index,
                             answer_.append.value_or(dialog.InitialAppend()));
  return dialog.SaveOther(answer_.kind, answer_.portion_list_index);
}

void IntakeLink::Send(const DocumentPtr& top, const OutgoingContent& content) {
  ++sends_;
  const Bytes record = PackHandoffRecord(OutgoingFields(top, content));
  intake_.OnRecord(record.data(), record.size());
  for (int due = intake_.OnContentInfo(content.layout_id, content.quick_save); due > 0; --due) intake_.ProcessNext();
}

}  // namespace ph::grab
