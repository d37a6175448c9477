// Live markup parsed with the in-memory document's parser and written again by its writer.
#include "tools/grab/parsed_markup_form.h"

#include "band/html/html_parser.h"
#include "band/html/markup_writer.h"
#include "band/html/memory_node.h"
#include "band/html/rendered_text.h"
#include "band/memdoc/memory_document.h"
#include "common/ascii.h"
#include "common/utf8.h"

namespace ph::grab {
namespace {

std::shared_ptr<MemoryNode> Holder(WideView tag, WideView inner_markup) {
  auto holder = std::make_shared<MemoryNode>();
  holder->SetTag(UpperAscii(tag));
  ReplaceChildren(*holder, ParseFragment(inner_markup, tag));
  return holder;
}

}  // namespace

WideString ParsedMarkupForm::Inner(WideView tag, WideView markup) { return InnerMarkup(*Holder(tag, markup)); }

WideString ParsedMarkupForm::Outer(WideView tag, WideView parent_tag, WideView markup) {
  const auto nodes = ParseFragment(markup, parent_tag.empty() ? WideView(u"BODY") : parent_tag);
  if (nodes.size() != 1 || !nodes[0]->IsElement() || nodes[0]->tag != tag) return WideString(markup);
  return OuterMarkup(*nodes[0]);
}

std::optional<WideString> ParsedMarkupForm::Text(WideView tag, WideView inner_markup) {
  return RenderedText(*Holder(tag, inner_markup));
}

std::optional<std::vector<std::int64_t>> ParsedMarkupForm::Words(WideView root_markup,
                                                                 const std::vector<WideString>& tags) {
  // Most pages are read in standards mode; a page in quirks mode may parse into other elements, and
  // then the check below sends its words the slow way.
  const auto document = MemoryDocument::Parse("<!DOCTYPE html>" + Utf16ToUtf8(root_markup), WideString());
  const DocumentOutline outline = document->Outline(true);
  // The parser must have found the page's elements, no more and no fewer, each of the same tag.
  if (outline.entries.size() != tags.size()) return std::nullopt;
  std::vector<std::int64_t> words;
  words.reserve(tags.size());
  for (std::size_t i = 0; i < tags.size(); ++i) {
    if (outline.tags[outline.entries[i].tag] != tags[i]) return std::nullopt;
    words.push_back(outline.entries[i].words);
  }
  return words;
}

}  // namespace ph::grab
