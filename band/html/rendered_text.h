// The text of a node tree as the browser renders it for innerText.
#pragma once

#include "band/html/memory_node.h"

namespace ph {

// Whitespace collapsed, line breaks around blocks and for BR, tabs between cells.
WideString RenderedText(const MemoryNode& node);

}  // namespace ph
