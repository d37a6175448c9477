// The written form of element paths: "frame[0]/TABLE[1]/TBODY[0]/TR[0]/TD[1]".
#pragma once

#include <optional>

#include "band/engine/element_path.h"

namespace ph::grab {

std::string PathToText(const ElementPath& path);
// Nothing when the text is not a path of that form.
std::optional<ElementPath> PathFromText(std::string_view text);

}  // namespace ph::grab
