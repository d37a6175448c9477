// Paths between ANSI text and UTF-16.
#include "platform/win32/wide_paths.h"

#include <vector>

#include "platform/code_page.h"

namespace ph::win {

std::string ModulePath(HMODULE module) {
  // Long paths may exceed MAX_PATH; the buffer grows until the name fits.
  for (DWORD size = MAX_PATH + 1; size <= 32768 * 2; size *= 2) {
    std::vector<wchar_t> name(size);
    const DWORD n = ::GetModuleFileNameW(module, name.data(), size);
    if (n == 0) return {};
    if (n < size) return MakeSystemCodePage()->ToAnsi(WideView(reinterpret_cast<const char16_t*>(name.data()), n));
  }
  return {};
}

std::wstring WidePath(std::string_view ansi) {
  const WideString wide = MakeSystemCodePage()->FromAnsi(ansi);
  return std::wstring(wide.begin(), wide.end());
}

}  // namespace ph::win
