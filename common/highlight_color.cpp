// Markup form of the highlight colour.
#include "common/highlight_color.h"

namespace ph {

std::string ColorToMarkup(std::uint32_t color_ref) {
  static constexpr char kHex[] = "0123456789abcdef";
  std::string s = "#";
  for (int shift = 0; shift <= 16; shift += 8) {
    const unsigned byte = (color_ref >> shift) & 0xFF;
    s += kHex[byte >> 4];
    s += kHex[byte & 0xF];
  }
  return s;
}

}  // namespace ph
