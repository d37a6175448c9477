// UTF-8 and UTF-16 conversion, validity and character-safe cuts.
#include "common/utf8.h"

namespace ph {
namespace {

void PutUtf16(char32_t cp, WideString* out) {
  if (cp < 0x10000) {
    out->push_back(static_cast<char16_t>(cp));
  } else {
    cp -= 0x10000;
    out->push_back(static_cast<char16_t>(0xD800 + (cp >> 10)));
    out->push_back(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
  }
}

// The code point of the well-formed sequence at text[at] and its length; length 0 when the bytes
// there start no well-formed sequence.
std::size_t Decode(std::string_view s, std::size_t at, char32_t* cp) {
  const unsigned char c = static_cast<unsigned char>(s[at]);
  if (c < 0x80) {
    *cp = c;
    return 1;
  }
  const std::size_t extra = (c >> 5) == 6 ? 1 : (c >> 4) == 14 ? 2 : (c >> 3) == 30 ? 3 : 0;
  if (extra == 0 || extra >= s.size() - at) return 0;
  char32_t v = c & (0x3F >> extra);
  for (std::size_t k = 1; k <= extra; ++k) {
    const unsigned char cc = static_cast<unsigned char>(s[at + k]);
    if ((cc & 0xC0) != 0x80) return 0;
    v = v << 6 | (cc & 0x3F);
  }
  static constexpr char32_t kSmallest[] = {0, 0x80, 0x800, 0x10000};
  if (v < kSmallest[extra] || v > 0x10FFFF || (v >= 0xD800 && v <= 0xDFFF)) return 0;
  *cp = v;
  return extra + 1;
}

}  // namespace

WideString Utf8ToUtf16(std::string_view s) {
  WideString out;
  out.reserve(s.size());
  for (std::size_t i = 0; i < s.size();) {
    char32_t cp = 0;
    const std::size_t n = Decode(s, i, &cp);
    PutUtf16(n ? cp : 0xFFFD, &out);
    i += n ? n : 1;
  }
  return out;
}

std::string Utf16ToUtf8(WideView s) {
  std::string out;
  out.reserve(s.size());
  for (std::size_t i = 0; i < s.size(); ++i) {
    char32_t cp = s[i];
    if (cp >= 0xD800 && cp <= 0xDBFF && i + 1 < s.size() && s[i + 1] >= 0xDC00 && s[i + 1] <= 0xDFFF) {
      cp = 0x10000 + ((cp - 0xD800) << 10) + (s[i + 1] - 0xDC00);
      ++i;
    } else if (cp >= 0xD800 && cp <= 0xDFFF) {
      cp = 0xFFFD;
    }
    if (cp < 0x80) {
      out.push_back(static_cast<char>(cp));
    } else if (cp < 0x800) {
      out.push_back(static_cast<char>(0xC0 | cp >> 6));
      out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else if (cp < 0x10000) {
      out.push_back(static_cast<char>(0xE0 | cp >> 12));
      out.push_back(static_cast<char>(0x80 | (cp >> 6 & 0x3F)));
      out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else {
      out.push_back(static_cast<char>(0xF0 | cp >> 18));
      out.push_back(static_cast<char>(0x80 | (cp >> 12 & 0x3F)));
      out.push_back(static_cast<char>(0x80 | (cp >> 6 & 0x3F)));
      out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    }
  }
  return out;
}

bool IsValidUtf8(std::string_view s) {
  for (std::size_t i = 0; i < s.size();) {
    char32_t cp = 0;
    const std::size_t n = Decode(s, i, &cp);
    if (n == 0) return false;
    i += n;
  }
  return true;
}

std::size_t Utf8CharLength(std::string_view s, std::size_t at) {
  char32_t cp = 0;
  const std::size_t n = Decode(s, at, &cp);
  return n ? n : 1;
}

std::string_view Utf8Prefix(std::string_view s, std::size_t max_bytes) {
  if (s.size() <= max_bytes) return s;
  // Only the character that the cut falls into can be broken: look back at most three bytes for
  // the lead byte of a sequence that would run past the cut.
  std::size_t end = max_bytes;
  for (std::size_t back = 1; back <= 3 && back <= end; ++back) {
    const unsigned char c = static_cast<unsigned char>(s[end - back]);
    if ((c & 0xC0) == 0x80) continue;  // a continuation byte: keep looking for its lead
    char32_t cp = 0;
    if (c >= 0xC0 && Decode(s, end - back, &cp) > back) end -= back;
    break;
  }
  return s.substr(0, end);
}

}  // namespace ph
