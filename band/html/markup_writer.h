// The markup of a node tree, written as the browser serialises its own.
#pragma once

#include "band/html/memory_node.h"

namespace ph {

// Markup of the node itself, or of its children only: tag names as stored (upper case), attributes
// in double quotes, no end tag for void elements, raw text elements unescaped.
WideString OuterMarkup(const MemoryNode& node);
WideString InnerMarkup(const MemoryNode& node);

}  // namespace ph
