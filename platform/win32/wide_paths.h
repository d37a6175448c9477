// Paths between the ANSI text the program keeps and the UTF-16 the Windows file functions take.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

namespace ph::win {

// The module's file name (the program's when module is null), read as UTF-16 and converted to
// the ANSI code page: in UTF-8 a path of MAX_PATH characters takes up to three times as many bytes,
// so a byte buffer of MAX_PATH would cut it, possibly inside a character. Empty on failure.
std::string ModulePath(HMODULE module);

// An ANSI path in UTF-16, for the wide file functions where a narrow one would need a buffer of
// MAX_PATH bytes, which a UTF-8 path of fewer characters may overflow.
std::wstring WidePath(std::string_view ansi);

}  // namespace ph::win
