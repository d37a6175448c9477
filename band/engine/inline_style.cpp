// The declarations of a style attribute: read, changed one property at a time, written back.
#include "band/engine/inline_style.h"

#include "common/ascii.h"

namespace ph {
namespace {

using Declarations = std::vector<std::pair<WideString, WideString>>;

WideString Trim(WideView s) {
  std::size_t b = 0, e = s.size();
  while (b < e && (s[b] == u' ' || s[b] == u'\t' || s[b] == u'\n' || s[b] == u'\r')) ++b;
  while (e > b && (s[e - 1] == u' ' || s[e - 1] == u'\t' || s[e - 1] == u'\n' || s[e - 1] == u'\r')) --e;
  return WideString(s.substr(b, e - b));
}

// Where a declaration ends: the first ";" outside quotes and brackets, so that values such as
// url(data:image/png;base64,...) or a quoted font name keep their semicolons.
std::size_t DeclarationEnd(WideView text) {
  char16_t quote = 0;
  int depth = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char16_t c = text[i];
    if (quote) {
      if (c == u'\\') {
        ++i;
      } else if (c == quote) {
        quote = 0;
      }
    } else if (c == u'"' || c == u'\'') {
      quote = c;
    } else if (c == u'(' || c == u'[') {
      ++depth;
    } else if ((c == u')' || c == u']') && depth > 0) {
      --depth;
    } else if (c == u';' && depth == 0) {
      return i;
    }
  }
  return WideView::npos;
}

Declarations Read(const WideString* text) {
  Declarations d;
  if (!text) return d;
  WideView rest = *text;
  while (!rest.empty()) {
    const std::size_t semi = DeclarationEnd(rest);
    const WideView decl = rest.substr(0, semi);
    rest = semi == WideView::npos ? WideView() : rest.substr(semi + 1);
    const std::size_t colon = decl.find(u':');
    if (colon == WideView::npos) continue;
    d.emplace_back(LowerAscii(Trim(decl.substr(0, colon))), Trim(decl.substr(colon + 1)));
  }
  return d;
}

}  // namespace

StyleValue StyleProperty(const WideString* style_attribute, WideView name) {
  for (const auto& [n, v] : Read(style_attribute))
    if (n == name) return v;
  return std::nullopt;
}

WideString WithStyleProperty(const WideString* style_attribute, WideView name, WideString value) {
  Declarations d = Read(style_attribute);
  bool found = false;
  for (auto it = d.begin(); it != d.end();) {
    if (it->first == name) {
      if (value.empty() || found) {
        it = d.erase(it);
        continue;
      }
      it->second = value;
      found = true;
    }
    ++it;
  }
  if (!found && !value.empty()) d.emplace_back(WideString(name), std::move(value));
  WideString text;
  for (const auto& [n, v] : d) {
    if (!text.empty()) text += u' ';
    text += n + u": " + v + u";";
  }
  return text;
}

}  // namespace ph
