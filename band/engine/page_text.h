// The text of pages as the engine measures and joins it: word counts, and extracted pieces put together.
#pragma once

#include <optional>

#include "common/base.h"

namespace ph {

// The number of maximal runs of characters other than space, tab, carriage return and line feed,
// in UTF-16 or in 8-bit text (UTF-8 or a single-byte code page: none of the four is ever part of
// another character).
std::size_t CountWords(WideView text);
std::size_t CountWords(std::string_view text);

// accumulated + separator + piece, each of which may be absent; the result is always a string
// (empty when all three are absent). When memory runs out the accumulated text is kept as it was.
WideString AppendWithSeparator(std::optional<WideString> accumulated, const WideString* separator,
                               const WideString* piece);

}  // namespace ph
