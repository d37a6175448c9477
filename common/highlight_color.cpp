// Markup form of the highlight colour.
#include "common/highlight_color.h"

#include "common/hex.h"

namespace ph {

std::string ColorToMarkup(std::uint32_t color_ref) {
  std::string s = "#";
  for (int shift = 0; shift <= 16; shift += 8) {
    const unsigned byte = (color_ref >> shift) & 0xFF;
    s += kHexLower[byte >> 4];
    s += kHexLower[byte & 0xF];
  }
  return s;
}

}  // namespace ph
