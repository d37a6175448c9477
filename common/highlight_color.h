// The highlight colour: a COLORREF (0x00BBGGRR) and its markup form "#rrggbb".
#pragma once

#include "common/base.h"

namespace ph {

constexpr std::uint32_t MakeColorRef(std::uint8_t r, std::uint8_t g, std::uint8_t b) {
  return static_cast<std::uint32_t>(r) | static_cast<std::uint32_t>(g) << 8 |
         static_cast<std::uint32_t>(b) << 16;
}

constexpr std::uint32_t kDefaultHighlightColor = MakeColorRef(0xFF, 0xCC, 0xCC);  // 13421823

// "#" and red, green, blue as two lower-case hexadecimal digits each: "#ffcccc".
std::string ColorToMarkup(std::uint32_t color_ref);

}  // namespace ph
