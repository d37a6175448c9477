// Natively the ANSI code page is Windows-1252, the code page of a Western Windows installation.
#include "platform/code_page.h"

namespace ph {

std::unique_ptr<CodePage> MakeSystemCodePage() { return std::make_unique<Windows1252>(); }

}  // namespace ph
