// Conversion of a received hand-off record into an intake item.
#include "controller/intake/intake_item.h"

#include "platform/code_page.h"

namespace ph {

IntakeItem MakeIntakeItem(const HandoffFields& fields, const CodePage& code_page) {
  IntakeItem item;
  item.html = code_page.ToAnsi(fields[kSelectionHtml]);
  item.text = code_page.ToAnsi(fields[kSelectionText]);
  item.url = code_page.ToAnsi(fields[kPageUrl]);
  item.title = code_page.ToAnsi(fields[kPageTitle]);
  item.style = code_page.ToAnsi(fields[kPageStyle]);
  return item;
}

}  // namespace ph
