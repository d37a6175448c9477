// Text helpers of the engine: word counts, joins of extracted pieces, page hosts, data-file paths.
#pragma once

#include <optional>

#include "band/engine/document.h"

namespace ph {

class CodePage;
class FileSystem;
class UrlPort;

// The number of maximal runs of characters other than space, tab, carriage return and line feed,
// in UTF-16 or in 8-bit text (UTF-8 or a single-byte code page: none of the four is ever part of
// another character).
std::size_t CountWords(WideView text);
std::size_t CountWords(std::string_view text);

// accumulated + separator + piece, each of which may be absent; the result is always a string
// (empty when all three are absent). When memory runs out the accumulated text is kept as it was.
WideString AppendWithSeparator(std::optional<WideString> accumulated, const WideString* separator,
                               const WideString* piece);

// Hosts are compared byte for byte later, so their case is kept. A URL without a host (or no URL)
// gives the empty host, the same for every such document. A longer host is cut to kMaxHostLength
// bytes, never inside a character.
inline constexpr std::size_t kMaxHostLength = 255;
std::string HostOfDocument(Document& document, UrlPort& urls, const CodePage& code_page);

// The full path of a file in the folder that holds the band library.
std::string ModuleFilePath(FileSystem& files, std::string_view name);

}  // namespace ph
