// Style markup of a page and the richest block of text.
#include "band/engine/extraction.h"

#include <unordered_map>

#include "band/engine/page_text.h"
#include "platform/code_page.h"

namespace ph {
namespace {

// Word counts and "words of the cells below" of one document, each worked out once per element.
class BlockScores {
 public:
  explicit BlockScores(const CodePage& code_page) : code_page_(code_page) {}

  // The words of an element's text, or nothing when it has no text.
  std::optional<std::int64_t> Words(Element& element) {
    const long index = element.SourceIndex();
    if (index >= 0) {
      auto it = words_.find(index);
      if (it != words_.end()) return it->second;
    }
    std::optional<std::int64_t> words;
    if (auto text = element.InnerText()) words = static_cast<std::int64_t>(CountWords(code_page_.ToAnsi(*text)));
    if (index >= 0) words_.emplace(index, words);
    return words;
  }

  // The sum of the words of every "td" below the element, each counted as often as the element's
  // getElementsByTagName("td") would list it: once. Summing child by child and adding each child's
  // own sum counts a cell inside other cells again for every one of them, exactly as subtracting
  // every listed cell's text does.
  std::int64_t CellWordsBelow(const ElementPtr& root) {
    struct Open {
      ElementPtr element;
      CollectionPtr children;
      long next, length;
      std::int64_t sum;
    };
    std::vector<Open> stack;
    std::int64_t result = 0;
    auto open = [&](ElementPtr element) {
      const long index = element->SourceIndex();
      if (index >= 0) {
        auto it = below_.find(index);
        if (it != below_.end()) return std::optional<std::int64_t>(it->second);
      }
      auto children = element->Children();
      const long length = children ? children->Length() : 0;
      stack.push_back({std::move(element), std::move(children), 0, length, 0});
      return std::optional<std::int64_t>();
    };
    if (auto known = open(root)) return *known;
    while (!stack.empty()) {
      const std::size_t top = stack.size() - 1;
      if (stack[top].next < stack[top].length) {
        ElementPtr child = stack[top].children->Item(stack[top].next++);
        if (!child) continue;
        if (HasTag(*child, "td")) stack[top].sum += Words(*child).value_or(0);
        if (auto known = open(child)) stack[top].sum += *known;
        continue;
      }
      result = stack[top].sum;
      const long index = stack[top].element->SourceIndex();
      if (index >= 0) below_.emplace(index, result);
      stack.pop_back();
      if (!stack.empty()) stack.back().sum += result;
    }
    return result;
  }

 private:
  const CodePage& code_page_;
  std::unordered_map<long, std::optional<std::int64_t>> words_;
  std::unordered_map<long, std::int64_t> below_;
};

}  // namespace

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

ElementPtr FindRichestBlock(const DocumentList& documents, const CodePage& code_page) {
  ElementPtr best;
  std::int64_t best_score = 0;
  for (const auto& document : documents) {
    BlockScores scores(code_page);
    for (const char16_t* tag : {u"td", u"div"}) {
      auto elements = document->ElementsByTagName(tag);
      if (!elements) continue;
      for (long i = 0, n = elements->Length(); i < n; ++i) {
        ElementPtr element = elements->Item(i);
        if (!element) continue;
        const auto words = scores.Words(*element);
        if (!words) continue;
        const std::int64_t score = *words - scores.CellWordsBelow(element);
        if (score > best_score) {
          best_score = score;
          best = std::move(element);
        }
      }
    }
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
