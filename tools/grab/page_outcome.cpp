// Telling saved, skipped and failed pages apart from what the writers, the dialog and the link recorded.
#include "tools/grab/page_outcome.h"

namespace ph::grab {

Outcome OutcomeOfSend(GrabParts& parts) {
  const RecordingWriters& writers = parts.writers;
  // A stored action that failed leaves the question unanswered as well; the page failed.
  const bool write_failed = writers.writes() > 0 && !writers.last_saved() && !writers.empty();
  if (!write_failed && (parts.link.sends() == 0 || parts.dialog.unanswered() || writers.empty())) return Outcome::kSkipped;
  if (!write_failed && writers.writes() > 0) return Outcome::kSaved;
  // The clipboard writer fails silently when it cannot open the clipboard; here, where that means
  // there is no desktop at all, the user is told.
  if (parts.clipboard->unavailable())
    parts.user.Show({"there is no clipboard to put the content on (no X display: DISPLAY is not set or cannot be reached)",
                     "", MessageIcon::kError, MessageButtons::kOk});
  return Outcome::kFailed;
}

}  // namespace ph::grab
