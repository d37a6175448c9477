// UTF-8 and UTF-16 conversion for the parser, which reads and writes UTF-8.
#pragma once

#include "common/base.h"

namespace ph {

// Malformed input becomes U+FFFD; nothing is dropped silently.
WideString Utf8ToUtf16(std::string_view text);
std::string Utf16ToUtf8(WideView text);

}  // namespace ph
