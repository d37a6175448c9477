// File names that the file systems of both builds can hold: the one sanitiser of every name the
// writers make, and the fitting of a name into its folder.
#pragma once

#include "common/base.h"

namespace ph {

// The longest path the Windows file functions take (MAX_PATH without its terminating zero), and the
// longest file name; the native build keeps to them too, so that both builds name files alike.
inline constexpr std::size_t kMaxPath = 259;
inline constexpr std::size_t kMaxFileName = 255;

// Makes one path component harmless: characters Windows forbids in names and control bytes become
// "_", so do trailing dots and spaces (Windows drops them, making "a." and "a" one file), and a
// reserved device name (CON, NUL, COM1 ...) gets a leading "_".
std::string SafeFileName(std::string_view name);

// folder, the separator, name and extension; when the file name or the whole path would be too
// long, the name is cut (never inside a UTF-8 character) and ends in "~" and a hash of the whole
// name, so that two long names cut alike still name two files.
std::string PathInFolder(std::string_view folder, std::string_view name, std::string_view extension, char separator);

// Sixteen hexadecimal digits of a stable hash (FNV-1a) of the text.
std::string HashText(std::string_view text);

}  // namespace ph
