// UTF-8 as the 8-bit code page.
#include "common/utf8.h"
#include "platform/code_page.h"

namespace ph {

std::string Utf8CodePage::ToAnsi(WideView text) const { return Utf16ToUtf8(text); }

WideString Utf8CodePage::FromAnsi(std::string_view text) const { return Utf8ToUtf16(text); }

}  // namespace ph
