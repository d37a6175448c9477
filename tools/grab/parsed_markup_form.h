// Markup and text of live pages put in the form the in-memory document writes them.
#pragma once

#include "band/live/markup_form.h"

namespace ph::grab {

// Tag names, escapes, line breaks and whitespace as grab writes fetched pages: a region picked on a
// live page is stored and sent exactly as the same region of the same page read by grab quick later,
// so its fingerprint and its saved content agree whichever way the page was read. What cannot be put
// in that form is handed on as the browser wrote it.
class ParsedMarkupForm : public live::MarkupForm {
 public:
  WideString Inner(WideView tag, WideView markup) override;
  WideString Outer(WideView tag, WideView parent_tag, WideView markup) override;
  std::optional<WideString> Text(WideView tag, WideView inner_markup) override;
  std::optional<std::vector<std::int64_t>> Words(WideView root_markup, const std::vector<WideString>& tags) override;
};

}  // namespace ph::grab
