// The system ANSI code page through WideCharToMultiByte / MultiByteToWideChar (CP_ACP).
#include <windows.h>

#include "platform/code_page.h"

namespace ph {
namespace {

class SystemCodePage : public CodePage {
 public:
  std::string ToAnsi(WideView text) const override {
    if (text.empty()) return {};
    const auto* src = reinterpret_cast<const wchar_t*>(text.data());
    const int units = static_cast<int>(text.size());
    // No best-fit: a character the code page lacks becomes the default character, a space, and
    // never a look-alike.
    const DWORD flags = WC_COMPOSITECHECK | WC_NO_BEST_FIT_CHARS;
    const int n = ::WideCharToMultiByte(CP_ACP, flags, src, units, nullptr, 0, " ", nullptr);
    if (n <= 0) return {};
    std::string out(static_cast<std::size_t>(n), '\0');
    ::WideCharToMultiByte(CP_ACP, flags, src, units, out.data(), n, " ", nullptr);
    return out;
  }

  WideString FromAnsi(std::string_view text) const override {
    if (text.empty()) return {};
    const int bytes = static_cast<int>(text.size());
    const int n = ::MultiByteToWideChar(CP_ACP, 0, text.data(), bytes, nullptr, 0);
    if (n <= 0) return {};
    WideString out(static_cast<std::size_t>(n), u'\0');
    ::MultiByteToWideChar(CP_ACP, 0, text.data(), bytes, reinterpret_cast<wchar_t*>(out.data()), n);
    return out;
  }
};

}  // namespace

std::unique_ptr<CodePage> MakeSystemCodePage() { return std::make_unique<SystemCodePage>(); }

}  // namespace ph
