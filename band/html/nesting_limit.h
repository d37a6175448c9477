// Keeps the parser's tree within a depth, by leaving out the tags of elements nested deeper.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace ph {

// Deeper than this, elements are left out of the tree, as browsers do (and as gumbo needs: it scans
// the stack of open elements on every block's start tag, and frees its tree recursively).
inline constexpr int kMaxNesting = 512;

// Follows the start and end tags of a page (UTF-8) in one pass, working out how deep each element
// would be nested, and returns the page without the start tags of elements nested deeper than
// max_depth (nor their end tags), so that their content lands in the deepest element kept; nothing
// when no element is that deep, which is the case of every ordinary page: it is parsed as it is.
std::optional<std::string> LimitNesting(std::string_view html, int max_depth = kMaxNesting);

}  // namespace ph
