// The system ANSI code page through WideCharToMultiByte / MultiByteToWideChar (CP_ACP).
#include <windows.h>

#include <cstdio>

#include "platform/code_page.h"

namespace ph {
namespace {

class SystemCodePage : public CodePage {
 public:
  // UTF-8 takes neither precomposition nor a default character (every character has its bytes),
  // and Windows refuses the call that asks for them.
  SystemCodePage() : acp_(::GetACP()), utf8_(acp_ == CP_UTF8) {}

  std::string ToAnsi(WideView text) const override {
    if (text.empty()) return {};
    const auto* src = reinterpret_cast<const wchar_t*>(text.data());
    const int units = static_cast<int>(text.size());
    // No best-fit: a character the code page lacks becomes the default character, a space, and
    // never a look-alike.
    const DWORD flags = utf8_ ? 0 : WC_COMPOSITECHECK | WC_NO_BEST_FIT_CHARS;
    const char* fallback = utf8_ ? nullptr : " ";
    const int n = ::WideCharToMultiByte(CP_ACP, flags, src, units, nullptr, 0, fallback, nullptr);
    if (n <= 0) return {};
    std::string out(static_cast<std::size_t>(n), '\0');
    ::WideCharToMultiByte(CP_ACP, flags, src, units, out.data(), n, fallback, nullptr);
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

  std::string Charset() const override {
    switch (acp_) {
      case CP_UTF8: return "utf-8";
      case 932: return "shift_jis";
      case 936: return "gbk";
      case 949: return "euc-kr";
      case 950: return "big5";
      case 874: return "windows-874";
      default: {
        char name[24];
        std::snprintf(name, sizeof name, "windows-%u", acp_);
        return name;
      }
    }
  }

 private:
  UINT acp_;
  bool utf8_;
};

}  // namespace

std::unique_ptr<CodePage> MakeSystemCodePage() { return std::make_unique<SystemCodePage>(); }

}  // namespace ph
