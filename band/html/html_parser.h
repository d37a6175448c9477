// HTML text into a node tree, with gumbo (an HTML5 parser).
#pragma once

#include "band/html/memory_node.h"

namespace ph {

// Parses HTML text (UTF-16) as the content of an element with the given tag (upper case).
std::vector<std::shared_ptr<MemoryNode>> ParseFragment(WideView markup, WideView context_tag);
// Parses a whole page (UTF-8) into a document node.
std::shared_ptr<MemoryNode> ParsePage(std::string_view html);

}  // namespace ph
