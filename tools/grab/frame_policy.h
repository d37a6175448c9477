// Which frame sources a page may bring in as documents of its own.
#pragma once

#include <string_view>

namespace ph::grab {

// Whether the frame at frame_url may be loaded into the document at page_url: web pages anywhere,
// a local file only into a local page (a page from the network must not read the user's files
// into a selection), and nothing else.
bool MayLoadFrame(std::string_view page_url, std::string_view frame_url);

}  // namespace ph::grab
