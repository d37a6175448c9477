// The end of a selection: what is cut out, what is extracted and sent, and what is remembered.
#include "band/engine/selection_engine.h"

#include <gtest/gtest.h>

#include "band/engine/extraction.h"
#include "tests/band/engine/gumbo/engine_harness.h"

namespace ph {
namespace {

class FinishAndSend : public ::testing::Test {
 protected:
  void SetUp() override {
    h_.engine.StartSelection();
    h_.engine.set_fine_selection(true);
  }
  test::EngineHarness h_;
  std::shared_ptr<MemoryDocument> doc = h_.ShowHtml(
      "<div id=a style='background-color: red'>Alpha <b>one</b></div>"
      "<div id=b>Beta<div id=ad>buy now</div><div id=ad2><span id=inner>x</span></div>"
      "<table id=tab><tr><td>cell</td></tr></table></div><div id=empty></div>");
};

TEST_F(FinishAndSend, JoinsThePickedElementsInOrderAndPutsTheirBackgroundsBack) {
  h_.Select(doc->ById("b"));
  h_.SelectAndEnd(doc->ById("a"));
  ASSERT_EQ(h_.link.sent.size(), 1u);
  const auto& sent = h_.link.sent[0];
  EXPECT_EQ(sent.html, *doc->ById("b")->InnerHtml() + u"\r\n" + *doc->ById("a")->InnerHtml());
  EXPECT_EQ(sent.text, *doc->ById("b")->InnerText() + u"\r\nAlpha one");
  EXPECT_EQ(sent.quick_save, 0);
  EXPECT_EQ(sent.layout_id, 1);
  EXPECT_EQ(doc->ById("a")->InlineStyle()->BackgroundColor(), StyleValue(u"red"));
  EXPECT_EQ(doc->ById("b")->InlineStyle()->BackgroundColor(), std::nullopt);
  EXPECT_TRUE(h_.engine.selection_list().empty());
}

TEST_F(FinishAndSend, AnEmptyElementGivesAnEmptyTextNotAMissingOne) {
  h_.SelectAndEnd(doc->ById("empty"));
  ASSERT_EQ(h_.link.sent.size(), 1u);
  EXPECT_EQ(h_.link.sent[0].text, u"");
  EXPECT_EQ(h_.link.sent[0].html, u"");
}

TEST_F(FinishAndSend, DeselectedRegionsAreCutOutAndHiddenAndATableGoesWhole) {
  h_.Deselect(doc->ById("ad"));
  h_.Deselect(doc->ById("tab"));
  h_.SelectAndEnd(doc->ById("b"));
  ASSERT_EQ(h_.link.sent.size(), 1u);
  EXPECT_EQ(h_.link.sent[0].text.find(u"buy"), WideString::npos);
  EXPECT_EQ(h_.link.sent[0].text.find(u"cell"), WideString::npos);
  EXPECT_EQ(doc->ById("tab"), nullptr);
  EXPECT_EQ(*doc->ById("ad")->OuterHtml(), u"<DIV id=\"ad\" style=\"background-color: #000000; visibility: hidden;\">\n</DIV>");
  EXPECT_EQ(h_.toolbar.enabled(kCmdQuickSave), false);
}

TEST_F(FinishAndSend, OnlyTheOutermostOfNestedDeselectionsIsStoredAndEmptied) {
  h_.Deselect(doc->ById("inner"));
  h_.Deselect(doc->ById("ad2"));
  h_.SelectAndEnd(doc->ById("a"));
  std::vector<ElementPath> deselected;
  for (const auto& r : h_.engine.selections().regions())
    if (r.kind == RegionKind::kDeselected) deselected.push_back(r.path);
  ASSERT_EQ(deselected.size(), 1u);
  EXPECT_EQ(deselected[0], BuildPath(doc, doc->ById("ad2"), h_.code_page));
  // The inner element went with its container's content, untouched itself.
  EXPECT_EQ(doc->ById("inner"), nullptr);
}

TEST_F(FinishAndSend, RemembersExclusionsDeselectionsAndPicksAndSavesThem) {
  h_.ExcludeTables(doc->ById("b"));
  h_.Deselect(doc->ById("ad"));
  h_.Select(doc->ById("a"));
  h_.SelectAndEnd(doc->ById("b"));
  const auto& regions = h_.engine.selections().regions();
  ASSERT_EQ(regions.size(), 4u);
  EXPECT_EQ(regions[0].kind, RegionKind::kTableExclusion);
  EXPECT_EQ(regions[1].kind, RegionKind::kDeselected);
  EXPECT_EQ(regions[2].kind, RegionKind::kSelected);
  EXPECT_EQ(regions[2].path, (ElementPath{{"frame", 0}, {"DIV", 0}}));
  EXPECT_EQ(regions[3].path, (ElementPath{{"frame", 0}, {"DIV", 1}}));
  for (const auto& r : regions) EXPECT_EQ(r.layout_id, 1);
  EXPECT_EQ(h_.files["/band/selections.dat"], h_.engine.selections().SaveBytes());
  EXPECT_TRUE(h_.engine.exclusion_list().empty());
  EXPECT_TRUE(h_.engine.deselection_list().empty());
}

TEST_F(FinishAndSend, ASecondSelectionReplacesWhatItsLayoutHadAndKeepsOtherLayouts) {
  h_.engine.selections().Append(StoredRegion{RegionKind::kSelected, 9, {{"frame", 0}}});
  h_.Deselect(doc->ById("ad"));
  h_.SelectAndEnd(doc->ById("a"));
  h_.engine.selections().Append(StoredRegion{RegionKind::kSelected, 8, {{"frame", 0}}});
  h_.engine.StartSelection();
  h_.SelectAndEnd(doc->ById("b"));
  const auto& regions = h_.engine.selections().regions();
  ASSERT_EQ(regions.size(), 3u);
  EXPECT_EQ(regions[0].layout_id, 9);
  EXPECT_EQ(regions[1].layout_id, 8);
  EXPECT_EQ(regions[2].layout_id, 1);
  EXPECT_EQ(regions[2].path, (ElementPath{{"frame", 0}, {"DIV", 1}}));
}

TEST_F(FinishAndSend, NothingPickedSendsAndStoresNothingAndBlackStaysBlack) {
  h_.Deselect(doc->ById("ad"));
  h_.engine.StopSelection();
  EXPECT_TRUE(h_.link.sent.empty());
  EXPECT_TRUE(h_.engine.selections().regions().empty());
  EXPECT_EQ(h_.files.Exists("/band/selections.dat"), false);
  EXPECT_EQ(h_.files.Exists("/band/layouts.dat"), false);
  EXPECT_EQ(doc->ById("ad")->InlineStyle()->BackgroundColor(), StyleValue(u"#000000"));
  EXPECT_TRUE(h_.engine.deselection_list().empty());
}

TEST_F(FinishAndSend, AQuickSaveFinishLeavesTheStoreAndKeepsExclusions) {
  h_.engine.selections().Append(StoredRegion{RegionKind::kSelected, 1, {{"frame", 0}, {"DIV", 0}}});
  h_.ExcludeTables(doc->ById("b"));
  h_.Select(doc->ById("a"));
  h_.engine.FinishAndSend(1);
  ASSERT_EQ(h_.link.sent.size(), 1u);
  EXPECT_EQ(h_.link.sent[0].quick_save, 1);
  EXPECT_EQ(h_.engine.selections().regions().size(), 1u);
  EXPECT_FALSE(h_.files.Exists("/band/selections.dat"));
  EXPECT_EQ(h_.engine.exclusion_list().size(), 1u);
}

TEST(StyleMarkup, StylesThenStyleSheetLinksOfTheTopDocumentOnly) {
  auto doc = MemoryDocument::Parse(
      "<head><style>a{}</style><link rel=StyleSheet href=s.css><link rel=icon href=i.ico></head>"
      "<body><style>b{}</style></body>",
      u"http://h/");
  EXPECT_EQ(StyleMarkup(*doc), std::optional<WideString>(
                                   u"<STYLE>a{}</STYLE><STYLE>b{}</STYLE>\r\n<LINK rel=\"StyleSheet\" href=\"s.css\">"));
  auto bare = MemoryDocument::Parse("<p>x</p>", u"http://h/");
  EXPECT_EQ(StyleMarkup(*bare), std::nullopt);
}

}  // namespace
}  // namespace ph
