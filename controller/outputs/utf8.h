// ANSI text as UTF-8, for consumers that read UTF-8 only.
#pragma once

#include "common/base.h"

namespace ph {

class CodePage;

// ANSI text as UTF-8, through the code page; ASCII text comes back byte for byte.
std::string AnsiToUtf8(std::string_view ansi, const CodePage& code_page);

}  // namespace ph
