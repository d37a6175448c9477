// Rendered documents become one in-memory page, each frame's document in its own frame element.
#include "tools/grab/browser_pages.h"

#include <gtest/gtest.h>

#include "band/engine/element_path.h"
#include "common/utf8.h"

namespace ph::grab {
namespace {

std::string TextOf(const DocumentPtr& document) { return Utf16ToUtf8(document->Body()->InnerText().value_or(u"")); }

TEST(DocumentFromRendered, FramesLandInTheirElementsInDocumentOrder) {
  // Two frames with the same src, the first holding an inner frame; the browser reports the URL
  // it ended at (after a redirect), which differs from the src.
  const std::vector<cdp::RenderedDocument> rendered = {
      {"http://h/top", "<body><iframe src=\"a.html\"></iframe><iframe src=\"a.html\"></iframe></body>", "", -1},
      {"http://h/a1", "<body>first<iframe src=\"in.html\"></iframe></body>", "a.html", 0},
      {"http://h/in", "<body>inner</body>", "in.html", 1},
      {"http://h/a2", "<body>second</body>", "a.html", 0},
  };
  const auto page = DocumentFromRendered(rendered);
  ASSERT_TRUE(page);
  const DocumentList documents = CollectDocuments(page);
  ASSERT_EQ(documents.size(), 4u);
  EXPECT_EQ(Utf16ToUtf8(*documents[1]->Url()), "http://h/a1");
  EXPECT_EQ(TextOf(documents[2]), "inner");
  EXPECT_EQ(TextOf(documents[3]), "second");
}

}  // namespace
}  // namespace ph::grab
