// ASCII letter case, for names that compare without regard to it: tags, schemes, keys and keywords.
#pragma once

#include "common/base.h"

namespace ph {

// Only A-Z and a-z change; every other unit, non-ASCII letters included, stays as it is.
constexpr char LowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + ('a' - 'A')) : c; }
constexpr char UpperAscii(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - ('a' - 'A')) : c; }
constexpr char16_t LowerAscii(char16_t c) { return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c + 32) : c; }
constexpr char16_t UpperAscii(char16_t c) { return c >= u'a' && c <= u'z' ? static_cast<char16_t>(c - 32) : c; }
constexpr bool IsAsciiLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

std::string LowerAscii(std::string_view text);
std::string UpperAscii(std::string_view text);
WideString LowerAscii(WideView text);
WideString UpperAscii(WideView text);

bool EqualsIgnoringAsciiCase(std::string_view a, std::string_view b);
bool EqualsIgnoringAsciiCase(WideView a, WideView b);
// Wide text against an ASCII name (a tag or a scheme written in the code).
bool EqualsIgnoringAsciiCase(WideView a, std::string_view ascii);

}  // namespace ph
