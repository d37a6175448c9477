// ANSI text as UTF-8, for consumers that read UTF-8 only.
#include "controller/outputs/utf8.h"

#include "platform/code_page.h"

namespace ph {

std::string AnsiToUtf8(std::string_view ansi, const CodePage& code_page) {
  bool ascii = true;
  for (char c : ansi) ascii &= static_cast<unsigned char>(c) < 0x80;
  if (ascii) return std::string(ansi);

  const WideString wide = code_page.FromAnsi(ansi);
  std::string out;
  out.reserve(wide.size() * 3);
  for (std::size_t i = 0; i < wide.size(); ++i) {
    char32_t u = wide[i];
    if (u >= 0xD800 && u <= 0xDBFF && i + 1 < wide.size() && wide[i + 1] >= 0xDC00 && wide[i + 1] <= 0xDFFF) {
      u = 0x10000 + ((u - 0xD800) << 10) + (wide[++i] - 0xDC00);
    } else if (u >= 0xD800 && u <= 0xDFFF) {
      u = 0xFFFD;
    }
    if (u < 0x80) {
      out += static_cast<char>(u);
    } else if (u < 0x800) {
      out += static_cast<char>(0xC0 | (u >> 6));
      out += static_cast<char>(0x80 | (u & 0x3F));
    } else if (u < 0x10000) {
      out += static_cast<char>(0xE0 | (u >> 12));
      out += static_cast<char>(0x80 | ((u >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (u & 0x3F));
    } else {
      out += static_cast<char>(0xF0 | (u >> 18));
      out += static_cast<char>(0x80 | ((u >> 12) & 0x3F));
      out += static_cast<char>(0x80 | ((u >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (u & 0x3F));
    }
  }
  return out;
}

}  // namespace ph
