// What a stored region looked like: its tag, id and classes and those of its nearest ancestors, its
// place among its siblings, the size of its text and how much of it is link text, so that it can be
// recognised on a changed page.
#pragma once

#include "band/engine/document.h"

namespace ph {

class CodePage;

// The tag, id and classes of one element, as 8-bit text.
struct ElementMark {
  std::string tag;
  std::string id;
  std::vector<std::string> classes;

  bool operator==(const ElementMark& o) const { return tag == o.tag && id == o.id && classes == o.classes; }
};

// An element's own marks, those of its nearest ancestors and the tags of its children: what can be
// read of every candidate element of a page cheaply.
struct ElementShape {
  static constexpr std::size_t kAncestors = 3;

  ElementMark self;
  std::vector<ElementMark> ancestors;   // the parent first, at most kAncestors, none above the body
  std::vector<std::string> child_tags;  // the distinct tags of its element children, in order

  bool operator==(const ElementShape& o) const {
    return self == o.self && ancestors == o.ancestors && child_tags == o.child_tags;
  }
};

struct RegionFingerprint {
  ElementShape shape;
  std::int32_t sibling_index = -1;  // among the parent's element children; -1 when unknown
  std::uint32_t text_length = 0;    // UTF-16 units of the element's text
  // UTF-16 units of the text of its links; nothing when a region was stored before this was kept.
  std::optional<std::uint32_t> link_text_length;

  bool operator==(const RegionFingerprint& o) const {
    return shape == o.shape && sibling_index == o.sibling_index && text_length == o.text_length &&
           link_text_length == o.link_text_length;
  }
};

ElementMark MarkOf(Element& element, const CodePage& code_page);
ElementShape ShapeOf(Element& element, const CodePage& code_page);
// The element's position among its parent's element children, or -1.
std::int32_t SiblingIndex(Element& element);
std::uint32_t TextLength(Element& element);
// UTF-16 units of the text of the links (A elements) inside the element, the element itself included.
std::uint32_t LinkTextLength(Element& element);

RegionFingerprint TakeFingerprint(Element& element, const CodePage& code_page);

// The classes of a class attribute, split at whitespace, in order and without repeats.
std::vector<std::string> SplitClasses(std::string_view text);

}  // namespace ph
