// ASCII letter case of whole strings, and comparisons that ignore it.
#include "common/ascii.h"

namespace ph {
namespace {

template <typename String, typename View, typename Map>
String Mapped(View text, Map map) {
  String out(text);
  for (auto& c : out) c = map(c);
  return out;
}

template <typename A, typename B>
bool SameLetters(A a, B b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (LowerAscii(static_cast<char16_t>(a[i])) != LowerAscii(static_cast<char16_t>(b[i]))) return false;
  return true;
}

}  // namespace

std::string LowerAscii(std::string_view text) { return Mapped<std::string>(text, [](char c) { return LowerAscii(c); }); }
std::string UpperAscii(std::string_view text) { return Mapped<std::string>(text, [](char c) { return UpperAscii(c); }); }
WideString LowerAscii(WideView text) { return Mapped<WideString>(text, [](char16_t c) { return LowerAscii(c); }); }
WideString UpperAscii(WideView text) { return Mapped<WideString>(text, [](char16_t c) { return UpperAscii(c); }); }

bool EqualsIgnoringAsciiCase(std::string_view a, std::string_view b) { return SameLetters(a, b); }
bool EqualsIgnoringAsciiCase(WideView a, WideView b) { return SameLetters(a, b); }

bool EqualsIgnoringAsciiCase(WideView a, std::string_view ascii) {
  if (a.size() != ascii.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (LowerAscii(a[i]) != LowerAscii(static_cast<char16_t>(static_cast<unsigned char>(ascii[i])))) return false;
  return true;
}

}  // namespace ph
