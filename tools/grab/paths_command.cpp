// grab paths: the candidate regions of a page with their word counts and element paths.
#include "band/engine/article_finder.h"
#include "band/engine/extraction.h"
#include "band/engine/page_text.h"
#include "tools/grab/commands.h"
#include "tools/grab/path_text.h"

namespace ph::grab {

int RunPaths(GrabParts& parts) {
  if (!OpenFirstPage(parts)) return 1;
  const DocumentList documents = CollectDocuments(parts.browser.TopDocument());
  const ElementPtr richest = FindRichestBlock(documents);
  const ElementPtr article = FindArticle(documents);
  // Source indices count within one document, so the document must match as well.
  auto is = [](const ElementPtr& pick, const ElementPtr& element) {
    return pick && pick->OwnerDocument() == element->OwnerDocument() && SameElement(*pick, *element);
  };
  parts.out << "# * what auto picks with --auto-mode cells, + with --auto-mode article (the default)\n";
  PagePaths paths(documents, *parts.code_page);
  for (const char* tag : {"td", "div", "article", "main", "section"}) {
    for (const DocumentPtr& document : documents) {
      // Every element's words in one walk of the document: reading each one's text would read a
      // deep page again for every level.
      const DocumentOutline outline = document->Outline(true);
      const std::vector<bool> named = outline.TagsNamed(tag);
      std::vector<std::int64_t> words_of;
      for (const auto& entry : outline.entries)
        if (named[entry.tag]) words_of.push_back(entry.words < 0 ? 0 : entry.words);
      const CollectionPtr all = document->ElementsByTagName(WidenAscii(tag));
      for (long i = 0; all && i < all->Length(); ++i) {
        const ElementPtr element = all->Item(i);
        if (!element) continue;
        const std::int64_t words = static_cast<std::size_t>(i) < words_of.size() ? words_of[i] : 0;
        parts.out << (is(richest, element) ? "* " : "  ") << (is(article, element) ? "+ " : "  ") << words << '\t'
                  << PathToText(paths.PathOf(element)) << '\n';
      }
    }
  }
  return 0;
}

}  // namespace ph::grab
