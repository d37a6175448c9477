// A text in five scripts for the tests that no character is lost on the way to an output.
#pragma once

#include "common/base.h"
#include "common/utf8.h"

namespace ph::test {

// Japanese, Arabic, Greek, accented Latin and an emoji outside the Basic Multilingual Plane.
inline const WideString kMixedScript =
    u"\u65E5\u672C\u8A9E\u306E\u8A18\u4E8B \u0645\u0631\u062D\u0628\u0627 \u039A\u03B1\u03BB\u03B7\u03BC\u03AD\u03C1\u03B1 "
    u"\u00C7a d\u00E9j\u00E0 na\u00EFve \U0001F600";
// A Japanese page title: "Japanese title".
inline const WideString kJapaneseTitle = u"\u65E5\u672C\u8A9E\u306E\u30BF\u30A4\u30C8\u30EB";

inline std::string Utf8Of(WideView text) { return Utf16ToUtf8(text); }

}  // namespace ph::test
