// Word counts, and the joins of extracted pieces that survive running out of memory.
#include "band/engine/page_text.h"

#include <array>
#include <new>
#include <stdexcept>

namespace ph {

std::size_t CountWords(std::string_view text) {
  // Every page's text goes through here during "Auto Selection": a table and no branches.
  static constexpr auto kSpace = [] {
    std::array<bool, 256> t{};
    t[' '] = t['\t'] = t['\r'] = t['\n'] = true;
    return t;
  }();
  std::size_t words = 0;
  bool after_space = true;
  for (char c : text) {
    const bool space = kSpace[static_cast<unsigned char>(c)];
    words += after_space && !space;
    after_space = space;
  }
  return words;
}

std::size_t CountWords(WideView text) {
  std::size_t words = 0;
  bool after_space = true;
  for (char16_t c : text) {
    const bool space = c == u' ' || c == u'\t' || c == u'\r' || c == u'\n';
    words += after_space && !space;
    after_space = space;
  }
  return words;
}

WideString AppendWithSeparator(std::optional<WideString> accumulated, const WideString* separator,
                               const WideString* piece) {
  WideString base = accumulated ? std::move(*accumulated) : WideString();
  try {
    WideString joined;
    joined.reserve(base.size() + (separator ? separator->size() : 0) + (piece ? piece->size() : 0));
    joined += base;
    if (separator) joined += *separator;
    if (piece) joined += *piece;
    return joined;
  } catch (const std::bad_alloc&) {
    return base;
  } catch (const std::length_error&) {
    return base;
  }
}

}  // namespace ph
