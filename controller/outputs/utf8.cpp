// ANSI text as UTF-8, for consumers that read UTF-8 only.
#include "controller/outputs/utf8.h"

#include "common/utf8.h"
#include "platform/code_page.h"

namespace ph {

std::string AnsiToUtf8(std::string_view ansi, const CodePage& code_page) {
  bool ascii = true;
  for (char c : ansi) ascii &= static_cast<unsigned char>(c) < 0x80;
  if (ascii) return std::string(ansi);
  return Utf16ToUtf8(code_page.FromAnsi(ansi));
}

}  // namespace ph
