// Reading content out of a page: its style markup, and the block with the most text of its own.
#pragma once

#include <optional>

#include "band/engine/element_path.h"

namespace ph {

// The outer markup of every "style" element, then a line break and the outer markup of every "link"
// element whose rel is "stylesheet" (any case), of the top document only; nothing when there are none.
std::optional<WideString> StyleMarkup(Document& top);

// Of all "td" then all "div" elements of every document, in that order: the first with the highest
// score, which is the word count of its text less that of the text of every "td" below it (a cell
// inside other cells below is counted once for each). Null when no element scores above 0.
// Every element's text is read once, so the cost is that of reading the texts.
ElementPtr FindRichestBlock(const DocumentList& documents);

}  // namespace ph
