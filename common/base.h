// The one header every other depends on; it depends on nothing of ours.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace ph {

// Wide text is UTF-16 everywhere in the core (wchar_t differs in width between the platforms);
// narrow text is in the ANSI code page.
using WideString = std::u16string;
using WideView = std::u16string_view;
using Bytes = std::vector<std::uint8_t>;

}  // namespace ph
