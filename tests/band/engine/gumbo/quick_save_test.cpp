// "Quick Save" and "Auto Selection" on whole pages.
#include "band/engine/selection_engine.h"

#include <gtest/gtest.h>

#include "band/engine/extraction.h"
#include "band/engine/page_text.h"
#include "tests/band/engine/gumbo/engine_harness.h"

namespace ph {
namespace {

using test::Wide;

constexpr char kNotAll[] =
    "Not all selections have been located. Perhaps the layout of this document has changed. Make a manual "
    "selection first.";
constexpr char kNothingToSave[] =
    "The selections located on this document are empty, so nothing has been saved. Perhaps the layout of "
    "this document has changed. Make a manual selection first.";

// The user picks the headline row's cell and the prices table's cell on Monday's page, cutting out
// the advertisement.
void SelectOnFirstListing(test::EngineHarness& h) {
  auto first = h.Show("listing_1.html");
  h.engine.OnFineSelectionCommand();
  h.Deselect(first->ElementsByTagName(u"div")->Item(3));  // the ad: the menu's three DIVs come first
  h.Select(first->ById("prices"));
  h.SelectAndEnd(first->ById("content")->Children()->Tags(u"p")->Item(0));
}

TEST(QuickSave, FindsBothRegionsAgainOnASecondPageOfTheLayout) {
  test::EngineHarness h;
  SelectOnFirstListing(h);
  ASSERT_EQ(h.link.sent.size(), 1u);
  const Bytes layouts = h.files["/band/layouts.dat"], selections = h.files["/band/selections.dat"];

  // A new band, as in a new browser window: everything comes from the files.
  test::EngineHarness later;
  later.files["/band/layouts.dat"] = layouts;
  later.files["/band/selections.dat"] = selections;
  later.engine.LoadStores();
  auto second = later.Show("listing_2.html");
  later.engine.OnDocumentComplete();
  EXPECT_EQ(later.toolbar.enabled(kCmdQuickSave), true);
  later.engine.QuickSave();
  EXPECT_TRUE(later.messages.shown.empty());
  ASSERT_EQ(later.engine.selection_list().size(), 2u);
  EXPECT_EQ(second->ById("prices")->InlineStyle()->BackgroundColor(), StyleValue(u"#ffcccc"));
  EXPECT_TRUE(later.link.sent.empty());

  ASSERT_TRUE(later.FireTimer(kQuickSaveTimer));
  EXPECT_TRUE(later.timers.running.empty());
  ASSERT_EQ(later.link.sent.size(), 1u);
  const auto& sent = later.link.sent[0];
  EXPECT_EQ(sent.quick_save, 1);
  EXPECT_EQ(sent.layout_id, 1);
  // Prices first, then the paragraph, as they were picked; Tuesday's content.
  EXPECT_NE(sent.text.find(u"Acme\t11.75"), WideString::npos);
  EXPECT_EQ(sent.text.find(u"Monday"), WideString::npos);
  EXPECT_LT(sent.text.find(u"11.75"), sent.text.find(u"Shares fell back"));
  EXPECT_NE(sent.text.find(u"\r\nShares fell back"), WideString::npos);
  EXPECT_EQ(later.files["/band/selections.dat"], selections);
  EXPECT_EQ(second->ById("prices")->InlineStyle()->BackgroundColor(), std::nullopt);
}

TEST(QuickSave, AnUnknownLayoutIsReportedToTheBrowserWindow) {
  test::EngineHarness h;
  h.Show("article.html");
  h.engine.QuickSave();
  ASSERT_EQ(h.messages.shown.size(), 1u);
  EXPECT_EQ(h.messages.shown[0].message.text, "layout not found!");
  EXPECT_EQ(h.messages.shown[0].message.caption, "Error");
  EXPECT_EQ(h.messages.shown[0].owner, MessageOwner::kBrowserWindow);
  EXPECT_TRUE(h.timers.running.empty());
}

TEST(QuickSave, OnlyDeselectionsStoredMeansNoSelectionAndNothingSent) {
  test::EngineHarness h;
  auto page = h.Show("listing_1.html");
  h.engine.RegisterLayout();
  h.engine.selections().Append(StoredRegion{RegionKind::kDeselected, 1, BuildPath(page, page->ById("menu"), h.code_page)});
  h.engine.QuickSave();
  ASSERT_EQ(h.messages.shown.size(), 1u);
  EXPECT_EQ(h.messages.shown[0].message.text, "No selection found for this document. Make a manual selection first");
  EXPECT_EQ(h.messages.shown[0].message.icon, MessageIcon::kError);
  EXPECT_EQ(h.messages.shown[0].owner, MessageOwner::kControlWindow);
  EXPECT_EQ(h.engine.deselection_list().size(), 1u);
  ASSERT_TRUE(h.FireTimer(kQuickSaveTimer));
  EXPECT_TRUE(h.link.sent.empty());
  EXPECT_TRUE(h.engine.deselection_list().empty());
}

TEST(QuickSave, ARegionThatCannotBeFoundStopsEverything) {
  test::EngineHarness h;
  auto page = h.Show("listing_1.html");
  h.engine.RegisterLayout();
  auto path = [&](const char* id) { return BuildPath(page, page->ById(id), h.code_page); };
  h.engine.selections().Append(StoredRegion{RegionKind::kSelected, 1, path("menu")});
  h.engine.selections().Append(StoredRegion{RegionKind::kSelected, 1, {{"frame", 0}, {"TABLE", 9}}});
  h.engine.selections().Append(StoredRegion{RegionKind::kSelected, 1, path("content")});
  h.engine.QuickSave();
  EXPECT_EQ(h.MessageTexts(), std::vector<std::string>{kNotAll});
  EXPECT_TRUE(h.engine.selection_list().empty());
  EXPECT_EQ(page->ById("menu")->InlineStyle()->BackgroundColor(), std::nullopt);
  EXPECT_TRUE(h.timers.running.empty());
}

TEST(QuickSave, StoredTableExclusionsAreAppliedAgain) {
  test::EngineHarness h;
  auto first = h.Show("listing_1.html");
  h.engine.OnFineSelectionCommand();
  h.ExcludeTables(first->ById("content"));
  h.SelectAndEnd(first->ById("content"));
  EXPECT_EQ(h.link.sent[0].text.find(u"Acme"), WideString::npos);

  auto second = h.Show("listing_2.html");
  h.engine.OnDocumentComplete();
  h.engine.QuickSave();
  EXPECT_EQ(second->ById("prices"), nullptr);
  h.FireTimer(kQuickSaveTimer);
  ASSERT_EQ(h.link.sent.size(), 2u);
  EXPECT_NE(h.link.sent[1].text.find(u"Tuesday"), WideString::npos);
  EXPECT_EQ(h.link.sent[1].text.find(u"Acme"), WideString::npos);
}

TEST(QuickSave, RegionsThatAreAllEmptyAreNotSentAsSavedButReported) {
  test::EngineHarness h;
  auto first = h.ShowHtml("<div id=a>Some words</div><div id=b>More words</div>");
  h.engine.OnFineSelectionCommand();
  h.SelectAndEnd(first->ById("b"));
  // The second page keeps the layout, but the block the path names holds nothing but a picture-less
  // shell; a deselected region that takes all of a picked one empties it too.
  h.ShowHtml("<div id=a>Other words</div><div id=b> <span></span> </div>");
  h.engine.QuickSave();
  ASSERT_TRUE(h.FireTimer(kQuickSaveTimer));
  EXPECT_EQ(h.link.sent.size(), 1u);
  ASSERT_EQ(h.messages.shown.size(), 1u);
  EXPECT_EQ(h.messages.shown[0].message.text, kNothingToSave);
  EXPECT_TRUE(h.engine.selection_list().empty());

  h.ShowHtml("<div id=a>Other words</div><div id=b><img src=p.png></div>");
  h.engine.QuickSave();
  ASSERT_TRUE(h.FireTimer(kQuickSaveTimer));
  EXPECT_EQ(h.link.sent.size(), 2u);
}

TEST(AutoSelect, PicksTheArticleCellScrollsToItAndSendsItAsAHandSelection) {
  test::EngineHarness h;
  auto page = h.Show("article.html");
  h.engine.AutoSelect();
  EXPECT_TRUE(h.messages.shown.empty());
  ASSERT_EQ(h.engine.selection_list().size(), 1u);
  auto article = page->ById("article");
  EXPECT_TRUE(SameElement(*h.engine.selection_list()[0].element, *article));
  EXPECT_EQ(page->scrolled(), std::vector<long>{article->SourceIndex()});
  EXPECT_EQ(h.engine.current_layout_id(), 1);
  EXPECT_EQ(h.toolbar.enabled(kCmdQuickSave), true);
  ASSERT_TRUE(h.FireTimer(kAutoSelectTimer));
  ASSERT_EQ(h.link.sent.size(), 1u);
  EXPECT_EQ(h.link.sent[0].quick_save, 0);
  EXPECT_EQ(CountWords(Windows1252().ToAnsi(h.link.sent[0].text)), 300u);
  ASSERT_EQ(h.engine.selections().regions().size(), 1u);
  EXPECT_EQ(h.engine.selections().regions()[0].path, BuildPath(page, article, h.code_page));
}

TEST(AutoSelect, ScoresAreOwnWordsLessThoseOfEveryCellBelow) {
  Windows1252 cp;
  auto pick = [&](const std::string& html) -> std::string {
    auto doc = MemoryDocument::Parse(html, u"http://h/");
    auto best = FindRichestBlock(CollectDocuments(doc));
    if (!best) return "none";
    return cp.ToAnsi(*best->OuterHtml()).substr(0, 12);
  };
  // The outer cell's words all sit in the nested cell: it scores 0 and the nested cell wins.
  EXPECT_EQ(pick("<table><tr><td><table><tr><td>a b c</td></tr></table></td></tr></table>"), "<TD>a b c</T");
  // Nested blocks without tables: the outermost wins, ties keep the earlier.
  EXPECT_EQ(pick("<div id=o>one two<div>three</div></div>"), "<DIV id=\"o\">");
  // A cell inside two nested cells is subtracted twice from the outermost: it scores negative,
  // and the middle cell (own word "m") beats nothing else but the inner one's 3 words.
  EXPECT_EQ(pick("<table><tr><td>w<table><tr><td>m<table><tr><td>a b c</td></tr></table></td></tr></table></td></tr>"
                 "</table>"),
            "<TD>a b c</T");
  EXPECT_EQ(pick("<p>only paragraphs</p>"), "none");
}

TEST(AutoSelect, APageWithoutTextInCellsOrBlocksSaysSo) {
  test::EngineHarness h;
  h.ShowHtml("<p>text</p><div> </div><table><tr><td></td></tr></table>");
  h.engine.AutoSelect();
  ASSERT_EQ(h.messages.shown.size(), 1u);
  EXPECT_EQ(h.messages.shown[0].message.text, "Unable to auto selection");
  EXPECT_EQ(h.messages.shown[0].owner, MessageOwner::kControlWindow);
  EXPECT_TRUE(h.timers.running.empty());
  EXPECT_FALSE(h.files.Exists("/band/layouts.dat"));
}

}  // namespace
}  // namespace ph
