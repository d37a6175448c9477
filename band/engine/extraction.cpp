// Style markup of a page and the richest block of text.
#include "band/engine/extraction.h"

#include "band/engine/page_text.h"

namespace ph {
std::optional<WideString> StyleMarkup(Document& top) {
  std::optional<WideString> markup;
  if (auto styles = top.ElementsByTagName(u"style")) {
    for (long i = 0, n = styles->Length(); i < n; ++i) {
      auto style = styles->Item(i);
      if (!style) continue;
      const auto outer = style->OuterHtml();
      markup = AppendWithSeparator(std::move(markup), outer ? &*outer : nullptr, nullptr);
    }
  }
  if (auto links = top.ElementsByTagName(u"link")) {
    static const WideString kBreak = u"\r\n";
    for (long i = 0, n = links->Length(); i < n; ++i) {
      auto link = links->Item(i);
      if (!link) continue;
      const auto rel = link->Rel();
      if (!rel || !TagEquals(*rel, "stylesheet")) continue;
      const auto outer = link->OuterHtml();
      markup = AppendWithSeparator(std::move(markup), &kBreak, outer ? &*outer : nullptr);
    }
  }
  return markup;
}

ElementPtr FindRichestBlock(const DocumentList& documents) {
  ElementPtr best;
  std::int64_t best_score = 0;
  for (const auto& document : documents) {
    const DocumentOutline whole = document->Outline(true);
    const auto& outline = whole.entries;
    const std::size_t n = outline.size();
    const std::vector<bool> cell_tag = whole.TagsNamed("td"), block_tag = whole.TagsNamed("div");
    std::vector<bool> cell(n), block(n);
    for (std::size_t i = 0; i < n; ++i) {
      cell[i] = cell_tag[outline[i].tag];
      block[i] = block_tag[outline[i].tag];
    }
    // The words of the cells below each element, every cell counted once for each element it lies
    // in: children come after their parents, so walking backwards finishes each sum before it is
    // passed up. A cell without text counts nothing.
    std::vector<std::int64_t> below(n, 0);
    for (std::size_t i = n; i-- > 0;) {
      const std::int32_t parent = outline[i].parent;
      if (parent < 0 || static_cast<std::size_t>(parent) >= n) continue;
      below[parent] += below[i] + (cell[i] && outline[i].words > 0 ? outline[i].words : 0);
    }
    // Cells first, then blocks, each in document order; the first of the highest scores wins.
    std::int32_t best_entry = -1;
    for (const std::vector<bool>* kind : {&cell, &block}) {
      for (std::size_t i = 0; i < n; ++i) {
        const std::int64_t words = outline[i].words;
        if ((*kind)[i] && words >= 0 && words - below[i] > best_score) {
          best_score = words - below[i];
          best_entry = static_cast<std::int32_t>(i);
        }
      }
    }
    if (best_entry < 0) continue;
    if (ElementPtr element = OutlineElement(*document, whole, best_entry)) best = std::move(element);
  }
  return best;
}

HandoffFields OutgoingFields(const DocumentPtr& top, const OutgoingContent& content) {
  HandoffFields fields;
  fields[kSelectionHtml] = content.html;
  fields[kSelectionText] = content.text;
  if (top) {
    fields[kPageUrl] = top->Url().value_or(WideString());
    fields[kPageTitle] = top->Title().value_or(WideString());
    fields[kPageStyle] = StyleMarkup(*top).value_or(WideString());
  }
  return fields;
}

}  // namespace ph
