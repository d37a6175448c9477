// Helpers shared by every user of the document port.
#include "band/engine/document.h"

namespace ph {

bool SameElement(Element& a, Element& b) {
  const long ia = a.SourceIndex();
  return ia >= 0 && ia == b.SourceIndex();
}

bool TagEquals(WideView tag, std::string_view ascii_name) {
  if (tag.size() != ascii_name.size()) return false;
  for (std::size_t i = 0; i < tag.size(); ++i) {
    char16_t c = tag[i];
    char16_t d = static_cast<unsigned char>(ascii_name[i]);
    if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c - u'A' + u'a');
    if (d >= u'A' && d <= u'Z') d = static_cast<char16_t>(d - u'A' + u'a');
    if (c != d) return false;
  }
  return true;
}

bool HasTag(Element& element, std::string_view ascii_name) {
  const auto tag = element.TagName();
  return tag && TagEquals(*tag, ascii_name);
}

WideString WidenAscii(std::string_view ascii) {
  WideString out;
  out.reserve(ascii.size());
  for (char c : ascii) out.push_back(static_cast<unsigned char>(c));
  return out;
}

}  // namespace ph
