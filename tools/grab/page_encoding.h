// The text of a page's bytes, decoded by the encoding the page declares, as a browser decodes it.
#pragma once

#include <string>
#include <string_view>

namespace ph::grab {

// The page as the UTF-8 the parser reads. The encoding is the first of: a byte-order mark; the
// charset of the HTTP Content-Type (empty for files); a meta charset within the first 1024 bytes;
// UTF-8 when the bytes are valid UTF-8; else windows-1252. A declared encoding that is unknown is
// passed over; bytes that are invalid in the chosen encoding become U+FFFD.
std::string DecodePage(std::string_view bytes, std::string_view content_type);

// The charset parameter of a Content-Type value, lower case; empty when it has none.
std::string CharsetOfContentType(std::string_view content_type);
// The charset a meta element declares within the first 1024 bytes, lower case; empty when none does.
std::string CharsetOfMeta(std::string_view bytes);

}  // namespace ph::grab
