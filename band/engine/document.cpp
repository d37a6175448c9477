// Helpers shared by every user of the document port.
#include "band/engine/document.h"

#include <unordered_map>

#include "band/engine/page_text.h"
#include "common/ascii.h"

namespace ph {

bool SameElement(Element& a, Element& b) {
  const long ia = a.SourceIndex();
  return ia >= 0 && ia == b.SourceIndex();
}

bool TagEquals(WideView tag, std::string_view ascii_name) { return EqualsIgnoringAsciiCase(tag, ascii_name); }

namespace {

// The lower-case letter of an upper-case one that has a single-unit lower case of its own.
char16_t FoldCase(char16_t c) {
  if (c < 0x80) return LowerAscii(c);
  if ((c >= 0xC0 && c <= 0xDE && c != 0xD7) || (c >= 0x391 && c <= 0x3AB && c != 0x3A2) ||
      (c >= 0x410 && c <= 0x42F))
    return static_cast<char16_t>(c + 0x20);
  if (c >= 0x400 && c <= 0x40F) return static_cast<char16_t>(c + 0x50);
  // Latin Extended-A pairs upper and lower case, upper first, except in two runs where the
  // upper case sits on the odd unit; U+0130 and U+0131 (dotted and dotless i) have no simple pair.
  if ((c >= 0x100 && c <= 0x12F) || (c >= 0x132 && c <= 0x137) || (c >= 0x14A && c <= 0x177))
    return static_cast<char16_t>(c | 1);
  if ((c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E))
    return (c & 1) ? static_cast<char16_t>(c + 1) : c;
  if (c == 0x178) return 0xFF;
  switch (c) {
    case 0x386: return 0x3AC;
    case 0x388: case 0x389: case 0x38A: return static_cast<char16_t>(c + 37);
    case 0x38C: return 0x3CC;
    case 0x38E: case 0x38F: return static_cast<char16_t>(c + 63);
    default: return c;
  }
}

}  // namespace

bool EqualsIgnoringCase(WideView a, WideView b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (a[i] != b[i] && FoldCase(a[i]) != FoldCase(b[i])) return false;
  return true;
}

bool HasTag(Element& element, std::string_view ascii_name) {
  const auto tag = element.TagName();
  return tag && TagEquals(*tag, ascii_name);
}

std::vector<bool> DocumentOutline::TagsNamed(std::string_view ascii_name) const {
  std::vector<bool> named(tags.size());
  for (std::size_t i = 0; i < tags.size(); ++i) named[i] = TagEquals(tags[i], ascii_name);
  return named;
}

std::uint32_t DocumentOutline::TagNumber(WideView tag) {
  const WideString name(tag);
  auto it = numbers.find(name);
  if (it != numbers.end()) return it->second;
  const auto number = static_cast<std::uint32_t>(tags.size());
  tags.push_back(name);
  numbers.emplace(name, number);
  return number;
}

DocumentOutline Document::Outline(bool with_words) {
  DocumentOutline outline;
  CollectionPtr all = ElementsByTagName(u"*");
  const long n = all ? all->Length() : 0;
  outline.entries.resize(static_cast<std::size_t>(n));
  // Parents come before their children in source order, so each parent's entry is known by then.
  std::unordered_map<long, std::int32_t> entry_of;
  for (long i = 0; i < n; ++i) {
    ElementPtr element = all->Item(i);
    DocumentOutline::Entry& entry = outline.entries[static_cast<std::size_t>(i)];
    entry.tag = outline.TagNumber(element ? element->TagName().value_or(WideString()) : WideString());
    if (!element) continue;
    if (ElementPtr parent = element->Parent()) {
      auto it = entry_of.find(parent->SourceIndex());
      if (it != entry_of.end()) entry.parent = it->second;
    }
    if (with_words)
      if (auto text = element->InnerText()) entry.words = static_cast<std::int64_t>(CountWords(WideView(*text)));
    entry.source_index = element->SourceIndex();
    if (entry.source_index >= 0) entry_of.emplace(entry.source_index, static_cast<std::int32_t>(i));
  }
  return outline;
}

std::vector<WideString> Document::OutlineNames() {
  std::vector<WideString> names;
  CollectionPtr all = ElementsByTagName(u"*");
  const long n = all ? all->Length() : 0;
  names.reserve(static_cast<std::size_t>(n));
  for (long i = 0; i < n; ++i) {
    WideString name;
    if (ElementPtr element = all->Item(i)) {
      name = element->Id().value_or(WideString());
      name += u' ';
      name += element->ClassName().value_or(WideString());
    }
    names.push_back(std::move(name));
  }
  return names;
}

ElementPtr OutlineElement(Document& document, const DocumentOutline& outline, std::int32_t entry) {
  const auto& entries = outline.entries;
  if (entry < 0 || static_cast<std::size_t>(entry) >= entries.size()) return nullptr;
  const long wanted = entries[entry].source_index;
  if (ElementPtr body = document.Body()) {
    // The way up from the entry to the body, each step as the position among its parent's children.
    const long body_index = body->SourceIndex();
    std::vector<std::int32_t> way;
    std::int32_t at = entry;
    while (at >= 0 && entries[at].source_index != body_index) {
      way.push_back(at);
      at = entries[at].parent;
    }
    if (at >= 0 && body_index >= 0) {
      // Siblings come between a parent and a child in source order: count those with the same parent.
      ElementPtr current = std::move(body);
      for (auto it = way.rbegin(); it != way.rend() && current; ++it) {
        const std::int32_t parent = entries[*it].parent;
        long position = 0;
        for (std::int32_t i = parent + 1; i < *it; ++i) position += entries[i].parent == parent;
        CollectionPtr children = current->Children();
        current = children ? children->Item(position) : nullptr;
      }
      if (current && wanted >= 0 && current->SourceIndex() == wanted) return current;
    }
  }
  CollectionPtr all = document.ElementsByTagName(u"*");
  return all ? all->Item(entry) : nullptr;
}

WideString WidenAscii(std::string_view ascii) {
  WideString out;
  out.reserve(ascii.size());
  for (char c : ascii) out.push_back(static_cast<unsigned char>(c));
  return out;
}

}  // namespace ph
