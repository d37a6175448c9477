// UTF-8 and UTF-16: conversion both ways, validity, and cuts that never split a character.
#pragma once

#include "common/base.h"

namespace ph {

// Malformed input becomes U+FFFD; nothing is dropped silently.
WideString Utf8ToUtf16(std::string_view text);
std::string Utf16ToUtf8(WideView text);

// Whether the bytes are well-formed UTF-8 (no overlong forms, no surrogates, nothing above U+10FFFF).
bool IsValidUtf8(std::string_view text);

// The bytes of the character that starts at text[at]: 1 for ASCII and for a byte that starts no
// well-formed sequence, so that stepping through any text always advances.
std::size_t Utf8CharLength(std::string_view text, std::size_t at);

// The longest start of the text that holds at most max_bytes bytes and does not end inside a
// UTF-8 sequence. Text in another 8-bit code page is cut at max_bytes unless its last bytes happen
// to read as the start of a UTF-8 sequence, in which case they go too: never a broken character.
std::string_view Utf8Prefix(std::string_view text, std::size_t max_bytes);

}  // namespace ph
