// Natively the 8-bit code page is UTF-8, as Linux text is.
#include "platform/code_page.h"

namespace ph {

std::unique_ptr<CodePage> MakeSystemCodePage() { return std::make_unique<Utf8CodePage>(); }

}  // namespace ph
