// Reading and writing one property of a style attribute's text, as the browser's inline style does.
#pragma once

#include "band/engine/document.h"

namespace ph {

// The value of the property (a lower-case name) in the attribute's "name: value" declarations, as
// written there; nothing when there is no attribute or no such declaration.
StyleValue StyleProperty(const WideString* style_attribute, WideView name);

// The attribute's text with the property set to value, or removed when value is empty; the
// declarations written out as "name: value;" with single spaces. Empty when none is left.
WideString WithStyleProperty(const WideString* style_attribute, WideView name, WideString value);

}  // namespace ph
