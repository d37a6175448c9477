// Elements HTML treats apart, named once for the parser's guard and the markup writer alike.
#pragma once

#include "common/ascii.h"

namespace ph {

// Void elements: no content and no end tag, in the tree builder and in serialised markup.
inline constexpr const char* kVoidElements[] = {"area",  "base",   "basefont", "bgsound", "br",   "col",
                                                "embed", "frame",  "hr",       "img",     "input", "keygen",
                                                "link",  "meta",   "param",    "source",  "track", "wbr"};

// Whether a tag (of any case) names a void element.
inline bool IsVoidElement(WideView tag) {
  for (const char* name : kVoidElements)
    if (EqualsIgnoringAsciiCase(tag, name)) return true;
  return false;
}

}  // namespace ph
