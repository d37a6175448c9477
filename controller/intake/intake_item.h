// The controller's queued copy of one hand-off record, in the ANSI code page.
#pragma once

#include "common/base.h"
#include "common/handoff_record.h"

namespace ph {

class CodePage;

struct IntakeItem {
  std::string html;   // selection HTML
  std::string text;   // selection text
  std::string url;    // page URL
  std::string title;  // page title
  std::string style;  // page style markup
  std::int32_t layout_id = 0;
  std::int32_t quick_save = 0;
};

// Converts the five fields once, on receipt; the layout values arrive with the next message.
IntakeItem MakeIntakeItem(const HandoffFields& fields, const CodePage& code_page);

}  // namespace ph
