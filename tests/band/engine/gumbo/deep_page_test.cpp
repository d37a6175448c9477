// A page far deeper than any stack: the whole road of the engine over it, with exact results.
#include <gtest/gtest.h>

#include "band/engine/page_text.h"
#include "band/html/memory_node.h"
#include "tests/band/engine/gumbo/engine_harness.h"

namespace ph {
namespace {

TEST(DeepPage, TwoHundredThousandNestedBlocksAreSelectedSavedAndFoundAgain) {
  constexpr int kDepth = 200000;
  test::EngineHarness band;
  auto doc = band.ShowHtml("<html><body></body></html>", u"http://deep.test/page");
  // Every block holds one word of its own before the next; the innermost holds a table with a cell.
  MemoryNode* at = doc->root()->children.back()->children.back().get();
  for (int i = 0; i < kDepth; ++i) {
    at = AppendNode(at, MemoryNode::Type::kElement, u"DIV");
    AppendNode(at, MemoryNode::Type::kText, u"w ");
  }
  MemoryNode* cell = at;
  for (const char16_t* tag : {u"TABLE", u"TBODY", u"TR", u"TD"}) cell = AppendNode(cell, MemoryNode::Type::kElement, tag);
  AppendNode(cell, MemoryNode::Type::kText, u"one two three four five");
  doc->Changed();

  // The cell's five words are taken from every block around it: the outermost has the most left.
  band.engine.AutoSelect();
  ASSERT_EQ(band.engine.selection_list().size(), 1u);
  const ElementPtr outer = band.engine.selection_list()[0].element;
  EXPECT_TRUE(SameElement(*outer, *doc->Body()->Children()->Item(0)));
  ASSERT_TRUE(band.FireTimer(kAutoSelectTimer));
  ASSERT_EQ(band.link.sent.size(), 1u);
  EXPECT_EQ(CountWords(WideView(band.link.sent[0].text)), static_cast<std::size_t>(kDepth + 5));
  const LayoutNode& signature = band.engine.layouts().entries().at(1).signature;
  ASSERT_EQ(signature.children().size(), 1u);
  EXPECT_EQ(signature.children()[0]->children()[0]->children().size(), 1u);  // one row of one cell

  const ElementPtr deepest = doc->First("td");
  const ElementPath path = BuildPath(doc, deepest, band.code_page);
  EXPECT_EQ(path.size(), static_cast<std::size_t>(1 + kDepth + 4));  // frame, blocks, table, body, row, cell
  const ElementPtr found = ResolvePath(doc, path, band.code_page);
  ASSERT_TRUE(found);
  EXPECT_TRUE(SameElement(*found, *deepest));

  band.engine.QuickSave();
  ASSERT_TRUE(band.FireTimer(kQuickSaveTimer));
  ASSERT_EQ(band.link.sent.size(), 2u);
  EXPECT_EQ(band.link.sent[1].text, band.link.sent[0].text);
}

}  // namespace
}  // namespace ph
