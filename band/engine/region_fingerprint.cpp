// Taking the fingerprint of an element.
#include "band/engine/region_fingerprint.h"

#include <algorithm>

#include "platform/code_page.h"

namespace ph {

std::vector<std::string> SplitClasses(std::string_view text) {
  std::vector<std::string> classes;
  std::size_t i = 0;
  while (i < text.size()) {
    while (i < text.size() && std::string_view(" \t\r\n\f").find(text[i]) != std::string_view::npos) ++i;
    std::size_t end = i;
    while (end < text.size() && std::string_view(" \t\r\n\f").find(text[end]) == std::string_view::npos) ++end;
    if (end > i) {
      std::string name(text.substr(i, end - i));
      if (std::find(classes.begin(), classes.end(), name) == classes.end()) classes.push_back(std::move(name));
    }
    i = end;
  }
  return classes;
}

ElementMark MarkOf(Element& element, const CodePage& code_page) {
  ElementMark mark;
  if (auto tag = element.TagName()) mark.tag = code_page.ToAnsi(*tag);
  if (auto id = element.Id()) mark.id = code_page.ToAnsi(*id);
  if (auto classes = element.ClassName()) mark.classes = SplitClasses(code_page.ToAnsi(*classes));
  return mark;
}

ElementShape ShapeOf(Element& element, const CodePage& code_page) {
  ElementShape shape;
  shape.self = MarkOf(element, code_page);
  ElementPtr parent = element.Parent();
  while (parent && shape.ancestors.size() < ElementShape::kAncestors) {
    if (HasTag(*parent, "body") || HasTag(*parent, "frameset")) break;
    shape.ancestors.push_back(MarkOf(*parent, code_page));
    parent = parent->Parent();
  }
  if (CollectionPtr children = element.Children()) {
    for (long i = 0, n = children->Length(); i < n; ++i) {
      ElementPtr child = children->Item(i);
      auto tag = child ? child->TagName() : std::nullopt;
      if (!tag) continue;
      std::string name = code_page.ToAnsi(*tag);
      if (std::find(shape.child_tags.begin(), shape.child_tags.end(), name) == shape.child_tags.end())
        shape.child_tags.push_back(std::move(name));
    }
  }
  return shape;
}

std::int32_t SiblingIndex(Element& element) {
  ElementPtr parent = element.Parent();
  CollectionPtr children = parent ? parent->Children() : nullptr;
  const long self = element.SourceIndex();
  if (!children || self < 0) return -1;
  for (long i = 0, n = children->Length(); i < n; ++i) {
    ElementPtr child = children->Item(i);
    if (child && child->SourceIndex() == self) return static_cast<std::int32_t>(i);
  }
  return -1;
}

std::uint32_t TextLength(Element& element) {
  const auto text = element.InnerText();
  return text ? static_cast<std::uint32_t>(std::min<std::size_t>(text->size(), UINT32_MAX)) : 0;
}

std::uint32_t LinkTextLength(Element& element) {
  if (HasTag(element, "a")) return TextLength(element);
  std::uint64_t units = 0;
  if (CollectionPtr links = element.ElementsByTagName(u"a")) {
    // Links do not nest in HTML; where a page nests them all the same, the outer one counts alone.
    ElementPtr outer;
    for (long i = 0, n = links->Length(); i < n; ++i) {
      ElementPtr link = links->Item(i);
      if (!link || (outer && outer->Contains(*link))) continue;
      outer = link;
      units += TextLength(*link);
    }
  }
  return static_cast<std::uint32_t>(std::min<std::uint64_t>(units, UINT32_MAX));
}

RegionFingerprint TakeFingerprint(Element& element, const CodePage& code_page) {
  RegionFingerprint print;
  print.shape = ShapeOf(element, code_page);
  print.sibling_index = SiblingIndex(element);
  print.text_length = TextLength(element);
  print.link_text_length = std::min(LinkTextLength(element), print.text_length);
  return print;
}

}  // namespace ph
