// Hostile pages in the in-memory document: every element's path leads back to it, and Auto
// Selection's search for the richest block and the style markup never fail.
#include <cstdlib>

#include "band/engine/element_path.h"
#include "band/engine/extraction.h"
#include "band/memdoc/memory_document.h"
#include "platform/code_page.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view page(reinterpret_cast<const char*>(data), size);
  // Every frame gets a small page of its own, with no frames of its own.
  ph::FrameSource frames = [](const ph::WideString&, const ph::WideString&) -> std::optional<ph::FramePage> {
    return ph::FramePage{u"http://fuzz.test/frame.html", "<table><tr><td>frame text</td></tr></table>"};
  };
  const auto top = ph::MemoryDocument::Parse(page, u"http://fuzz.test/page.html", frames);
  ph::Utf8CodePage code_page;
  const ph::DocumentList documents = ph::CollectDocuments(top);
  for (const ph::DocumentPtr& document : documents) {
    const ph::CollectionPtr all = document->ElementsByTagName(u"*");
    // The paths of the first elements of each document (a page of many thousand elements would
    // spend the run on one input).
    for (long i = 0; all && i < all->Length() && i < 64; ++i) {
      const ph::ElementPtr element = all->Item(i);
      if (!element) continue;
      const ph::ElementPath path = ph::BuildPath(documents, element, code_page);
      if (path.empty() || path.front().name != ph::kFrameStepName) continue;
      const ph::ElementPtr found = ph::ResolvePath(documents, path, code_page);
      if (!found || !ph::SameElement(*found, *element)) std::abort();
    }
  }
  (void)ph::FindRichestBlock(documents);
  (void)ph::StyleMarkup(*top);
  return 0;
}
