// Signatures of real pages and the layout lookups the browser's events make.
#include "band/engine/layout_store.h"

#include <random>

#include <gtest/gtest.h>

#include "common/le_io.h"
#include "tests/band/engine/gumbo/engine_harness.h"

namespace ph {
namespace {

using test::Page;

Bytes Encoded(const DocumentPtr& doc) {
  LayoutNode n(kLayoutCell);
  BuildLayout(doc, &n);
  ByteWriter w;
  EncodeLayout(n, &w);
  return w.Take();
}

TEST(BuildLayout, KeepsTablesRowsAndCellsAndLooksThroughEverythingElse) {
  auto doc = MemoryDocument::Parse(
      "<div><table><caption><table></table></caption><tr><td><p><table><tr></tr></table></p></td><th></th></tr>"
      "</table></div><span><table></table></span>",
      u"http://h/");
  // doc { table { row { cell { table { row } } cell } } table }
  const Bytes expected = {3, 3, 1, 3, 2, 1, 3, 1, 1, 3, 0, 1, 3, 2, 1, 3, 1, 2, 2, 3, 0, 2, 2, 3, 2, 2};
  EXPECT_EQ(Encoded(doc), expected);
  EXPECT_EQ(Encoded(MemoryDocument::Parse("<p>no tables</p>", u"http://h/")), (Bytes{3, 3}));
}

// The signature read element by element through the document's own rows and cells (the pages are
// shallow: plain recursion is the clearest statement of the walk).
void ThroughRowsAndCells(const ElementPtr& element, LayoutNode* node) {
  auto children = element->Children();
  for (long i = 0; i < children->Length(); ++i) {
    ElementPtr child = children->Item(i);
    if (!HasTag(*child, "table")) {
      ThroughRowsAndCells(child, node);
      continue;
    }
    LayoutNode* table = node->AddChild(kLayoutTable);
    auto rows = child->Rows();
    for (long r = 0; r < rows->Length(); ++r) {
      LayoutNode* row = table->AddChild(kLayoutRow);
      auto cells = rows->Item(r)->Cells();
      for (long c = 0; c < cells->Length(); ++c) ThroughRowsAndCells(cells->Item(c), row->AddChild(kLayoutCell));
    }
  }
}

std::string RandomTables(std::mt19937& rng, int depth) {
  static const char* const kParts[] = {"<thead><tr><th>h</th></tr></thead>", "<tfoot><tr><td>f</td><td></td></tr></tfoot>",
                                       "<caption>c</caption>", "<tr><td>a</td><th>b</th></tr>"};
  std::string html;
  for (int n = std::uniform_int_distribution<int>(0, 3)(rng); n > 0; --n) {
    if (depth > 3 || rng() % 3 == 0) {
      html += "<p>x</p>";
      continue;
    }
    html += rng() % 2 ? "<div><table>" : "<table>";
    for (int p = std::uniform_int_distribution<int>(0, 4)(rng); p > 0; --p) {
      if (rng() % 2) {
        html += kParts[rng() % 4];
      } else {
        html += "<tbody><tr><td>" + RandomTables(rng, depth + 1) + "</td></tr></tbody>";
      }
    }
    html += "</table>";
    if (rng() % 2) html += "</div>";
  }
  return html;
}

TEST(BuildLayout, GivesWhatTheDocumentsRowsAndCellsGiveOnRandomPages) {
  std::mt19937 rng(16);
  for (int round = 0; round < 200; ++round) {
    auto doc = MemoryDocument::Parse(RandomTables(rng, 0), u"http://h/");
    LayoutNode built;
    BuildLayout(doc, &built);
    ByteWriter a, b;
    EncodeLayout(built, &a);
    LayoutNode expected(kLayoutDocument);
    ThroughRowsAndCells(doc->Body(), &expected);
    EncodeLayout(expected, &b);
    ASSERT_EQ(a.bytes(), b.bytes()) << Windows1252().ToAnsi(*doc->Body()->InnerHtml());
  }
}

TEST(BuildLayout, FrameNodesFollowTheBodysTables) {
  auto top = Page("frameset.html");
  // top { left { nav table { row { cell cell } } inner {} } right { table { row { th td td } } } }
  const Bytes expected = {3, 3, 1,
                          3, 3, 1, 3, 2, 1, 3, 1, 1, 3, 0, 3, 0, 2, 2, 3, 3, 2,
                          3, 3, 1, 3, 2, 1, 3, 1, 1, 3, 0, 3, 0, 3, 0, 2, 2, 2,
                          2};
  EXPECT_EQ(Encoded(top), expected);
}

TEST(FindLayout, PagesOfOneLayoutMatchAndTheEventsEnableQuickSave) {
  test::EngineHarness h;
  auto first = h.Show("listing_1.html");
  h.engine.OnDocumentComplete();
  EXPECT_EQ(h.engine.current_layout_id(), 0);
  EXPECT_EQ(h.toolbar.enabled(kCmdQuickSave), false);

  h.engine.RegisterLayout();
  EXPECT_EQ(h.engine.current_layout_id(), 1);
  EXPECT_EQ(h.toolbar.enabled(kCmdQuickSave), true);
  EXPECT_EQ(h.files["/band/layouts.dat"], h.engine.layouts().SaveBytes());

  h.engine.OnBeforeNavigate();
  EXPECT_EQ(h.toolbar.enabled(kCmdQuickSave), false);
  h.Show("listing_2.html");
  h.engine.OnDocumentComplete();
  EXPECT_EQ(h.engine.current_layout_id(), 1);
  EXPECT_EQ(h.toolbar.enabled(kCmdQuickSave), true);

  h.Show("article.html");
  h.engine.OnDocumentComplete();
  EXPECT_EQ(h.engine.current_layout_id(), 0);
  // Registering a known layout saves nothing.
  h.files["/band/layouts.dat"].clear();
  h.Show("listing_2.html");
  h.engine.RegisterLayout();
  EXPECT_TRUE(h.files["/band/layouts.dat"].empty());
}

TEST(FindLayout, TheSameTablesOnAnotherHostAreAnotherLayout) {
  test::EngineHarness h;
  auto a = h.ShowHtml("<table><tr><td>x</td></tr></table>", u"http://one.test/a");
  h.engine.RegisterLayout();
  h.ShowHtml("<table><tr><td>y</td></tr></table>", u"http://ONE.test/b");
  h.engine.OnDocumentComplete();
  EXPECT_EQ(h.engine.current_layout_id(), 0);
  h.ShowHtml("<table><tr><td>y</td></tr></table>", u"https://one.test:81/c?d");
  h.engine.OnDocumentComplete();
  EXPECT_EQ(h.engine.current_layout_id(), 1);
}

}  // namespace
}  // namespace ph
