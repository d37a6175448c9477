// The full path of a loaded module as ANSI text, however long it is.
#pragma once

#include <windows.h>

#include <string>

namespace ph::win {

// The module's file name (the program's when module is null), read as UTF-16 and converted to
// the ANSI code page: in UTF-8 a path of MAX_PATH characters takes up to three times as many bytes,
// so a byte buffer of MAX_PATH would cut it, possibly inside a character. Empty on failure.
std::string ModulePath(HMODULE module);

}  // namespace ph::win
