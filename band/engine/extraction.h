// Reading content out of a page: its style markup, the fields of a hand-off, the block with the most text of its own.
#pragma once

#include <optional>

#include "band/engine/band_ports.h"
#include "band/engine/element_path.h"
#include "common/handoff_record.h"

namespace ph {

// The outer markup of every "style" element, then a line break and the outer markup of every "link"
// element whose rel is "stylesheet" (any case), of the top document only; nothing when there are none.
std::optional<WideString> StyleMarkup(Document& top);

// The five fields of the hand-off record: the content's HTML and text, then the page's URL, title and
// style markup from the top document (empty without one).
HandoffFields OutgoingFields(const DocumentPtr& top, const OutgoingContent& content);

// Of all "td" then all "div" elements of every document, in that order: the first with the highest
// score, which is the word count of its text less that of the text of every "td" below it (a cell
// inside other cells below is counted once for each). Null when no element scores above 0.
// The document's outline gives every word count in one call.
ElementPtr FindRichestBlock(const DocumentList& documents);

}  // namespace ph
