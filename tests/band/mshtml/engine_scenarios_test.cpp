// The engine's scenarios on pages built in code, reached directly here and through the MSHTML binding on Windows.
#include "band/engine/extraction.h"
#include "tests/band/mshtml/page_view.h"

namespace ph::test {
namespace {

// A shop of three frames: the list (a table, with a detail frame inside) and a side bar.
struct ShopPage {
  ShopPage() {
    top->body()->Add("DIV", u"Banner");
    auto* row = list->body()->Add("TABLE")->Add("TR");
    row->Add("TH", u"Name");
    apple = row->Add("TD", u"Apple");
    pear = row->Add("TD", u"Pear");
    detail_cell = detail->body()->Add("TABLE")->Add("TR")->Add("TD", u"Crisp");
    side_box = side->body()->Add("DIV", u"Side");
    list->frames = {detail};
    top->frames = {list, side};
  }
  std::shared_ptr<TreeDocument> top = TreeDocument::Make(u"http://shop.test/"), list = TreeDocument::Make(u"http://shop.test/list"),
                                detail = TreeDocument::Make(u"http://shop.test/detail"),
                                side = TreeDocument::Make(u"http://shop.test/side");
  TreeNode *apple, *pear, *detail_cell, *side_box;
};

// A news page whose story sits in a frame: a table with the news cell (headline, story, ad) and a side cell.
struct NewsPage {
  explicit NewsPage(const char16_t* story) {
    top->body()->Add("DIV", u"Masthead");
    auto* row = frame->body()->Add("TABLE")->Add("TR");
    news = row->Add("TD");
    headline = news->Add("DIV", u"Headline");
    body = news->Add("DIV", story);
    ad = news->Add("DIV", u"Buy now");
    box = row->Add("TD");
    box->Add("TABLE")->Add("TR")->Add("TD", u"Inner")->Add("TABLE");
    kept = box->Add("B", u"kept");
    box->style["background-color"] = u"blue";
    top->frames = {frame};
  }
  std::shared_ptr<TreeDocument> top = TreeDocument::Make(u"http://news.test/"), frame = TreeDocument::Make(u"http://news.test/story");
  TreeNode *news, *headline, *body, *ad, *box, *kept;
};

// The inline background of a node, or nothing.
std::optional<WideString> Colour(TreeNode* node) {
  auto it = node->style.find("background-color");
  return it == node->style.end() ? std::nullopt : std::optional<WideString>(it->second);
}

std::vector<WideString> Urls(const DocumentList& documents) {
  std::vector<WideString> urls;
  for (const auto& d : documents) urls.push_back(d->Url().value_or(u"?"));
  return urls;
}

TEST_P(EngineScenario, PathsAreBuiltAndResolvedAcrossFrames) {
  ShopPage shop;
  view_->Show(shop.top);
  auto top = view_->TopDocument();
  EXPECT_EQ(Urls(CollectDocuments(top)), (std::vector<WideString>{u"http://shop.test/", u"http://shop.test/list",
                                                                   u"http://shop.test/detail", u"http://shop.test/side"}));
  const ElementPath pear = BuildPath(top, Reach(*view_, shop.top, shop.pear), band_.code_page);
  EXPECT_EQ(pear, (ElementPath{{"frame", 1}, {"TABLE", 0}, {"TR", 0}, {"TD", 1}}));
  const ElementPath crisp = BuildPath(top, Reach(*view_, shop.top, shop.detail_cell), band_.code_page);
  EXPECT_EQ(crisp, (ElementPath{{"frame", 2}, {"TABLE", 0}, {"TR", 0}, {"TD", 0}}));
  EXPECT_EQ(BuildPath(top, Reach(*view_, shop.top, shop.side_box), band_.code_page), (ElementPath{{"frame", 3}, {"DIV", 0}}));

  auto found = ResolvePath(top, pear, band_.code_page);
  ASSERT_TRUE(found);
  EXPECT_EQ(found->InnerText(), WideString(u"Pear"));
  EXPECT_EQ(ResolvePath(top, ElementPath{{"frame", 1}, {"TABLE", 0}, {"TR", 0}, {"TD", 2}}, band_.code_page), nullptr);
}

TEST_P(EngineScenario, HoverHighlightsAndRestoresTheBackgroundAsItWas) {
  NewsPage page(u"Story");
  view_->Show(page.top);
  band_.engine.StartSelection();
  EXPECT_EQ(view_->connections(), 2u);
  view_->Hover(page.kept);  // widened to its cell, which has a colour of its own
  EXPECT_EQ(Colour(page.box), WideString(u"#ffcccc"));
  view_->Hover(page.headline);  // a block of its own, without a colour
  EXPECT_EQ(Colour(page.box), WideString(u"blue"));
  EXPECT_EQ(Colour(page.headline), WideString(u"#ffcccc"));
  view_->Hover(page.kept);
  EXPECT_EQ(Colour(page.headline), std::nullopt);
  band_.engine.StopSelection();
  EXPECT_EQ(Colour(page.box), WideString(u"blue"));
  EXPECT_EQ(view_->connections(), 0u);
}

TEST_P(EngineScenario, ModifierClicksPickCutOutRemoveTablesAndEndWithTheJoinedContent) {
  NewsPage page(u"Shares rose");
  view_->Show(page.top);
  band_.engine.OnFineSelectionCommand();
  band_.Pick(page.box, false, true, true);       // Ctrl+Alt: tables out of the box
  band_.Pick(page.ad, false, false, true);       // Alt: cut out
  band_.Pick(page.body, true, false, false);     // Shift: pick
  band_.Pick(page.headline, false, true, false);  // Ctrl: pick and end
  EXPECT_FALSE(band_.engine.selection_active());
  ASSERT_EQ(page.box->children.size(), 1u);
  EXPECT_EQ(page.box->children[0].get(), page.kept);
  EXPECT_EQ(page.ad->text, u"\r\n");
  EXPECT_EQ(page.ad->style["visibility"], u"hidden");
  ASSERT_EQ(band_.link.sent.size(), 1u);
  EXPECT_EQ(band_.link.sent[0].text, u"Shares rose\r\nHeadline");
  EXPECT_EQ(band_.link.sent[0].html, u"Shares rose\r\nHeadline");
  EXPECT_EQ(band_.link.sent[0].layout_id, 1);
  EXPECT_EQ(Colour(page.body), std::nullopt);  // the picked regions get their colours back
  EXPECT_EQ(Colour(page.box), WideString(u"blue"));
}

TEST_P(EngineScenario, TheLayoutIsRegisteredAndQuickSaveFindsTheRegionsOnTheNextPage) {
  NewsPage monday(u"Shares rose");
  view_->Show(monday.top);
  band_.engine.StartSelection();
  band_.Pick(monday.ad, false, false, true);
  band_.Pick(monday.body, false, true, false);
  EXPECT_EQ(band_.engine.current_layout_id(), 1);

  NewsPage tuesday(u"Shares fell");
  view_->Show(tuesday.top);
  band_.engine.OnDocumentComplete();
  EXPECT_EQ(band_.engine.current_layout_id(), 1);
  EXPECT_EQ(band_.toolbar.enabled(kCmdQuickSave), true);
  band_.engine.QuickSave();
  ASSERT_TRUE(band_.timers.running.count(kQuickSaveTimer));
  band_.engine.OnTimer(kQuickSaveTimer);
  ASSERT_EQ(band_.link.sent.size(), 2u);
  EXPECT_EQ(band_.link.sent[1].text, u"Shares fell");
  EXPECT_EQ(band_.link.sent[1].quick_save, 1);
  EXPECT_EQ(tuesday.ad->style["visibility"], u"hidden");

  ShopPage other;  // another layout
  view_->Show(other.top);
  band_.engine.OnDocumentComplete();
  EXPECT_EQ(band_.engine.current_layout_id(), 0);
}

TEST_P(EngineScenario, AutoSelectionSendsTheCellWithTheMostWordsOfItsOwn) {
  NewsPage page(u"A long story of many words indeed");
  view_->Show(page.top);
  band_.engine.AutoSelect();
  ASSERT_EQ(band_.engine.selection_list().size(), 1u);
  EXPECT_EQ(Colour(page.news), WideString(u"#ffcccc"));
  band_.engine.OnTimer(kAutoSelectTimer);
  ASSERT_EQ(band_.link.sent.size(), 1u);
  EXPECT_EQ(band_.link.sent[0].text, u"Headline A long story of many words indeed Buy now");
  EXPECT_EQ(band_.link.sent[0].quick_save, 0);
  EXPECT_EQ(Colour(page.news), std::nullopt);
}

TEST_P(EngineScenario, StyleMarkupJoinsStyleElementsAndStyleSheetLinks) {
  auto top = TreeDocument::Make(u"http://style.test/");
  top->body()->Add("STYLE", u"p{}");
  auto* sheet = top->body()->Add("LINK");
  sheet->attributes["rel"] = u"StyleSheet";
  top->body()->Add("LINK")->attributes["rel"] = u"icon";
  top->body()->Add("STYLE", u"b{}");
  view_->Show(top);
  EXPECT_EQ(StyleMarkup(*view_->TopDocument()), WideString(u"<STYLE>p{}</STYLE><STYLE>b{}</STYLE>\r\n<LINK rel=\"StyleSheet\"></LINK>"));
}

std::unique_ptr<PageView> MakeDirectView() { return std::make_unique<DirectView>(); }
INSTANTIATE_TEST_SUITE_P(Direct, EngineScenario, ::testing::Values(&MakeDirectView));

}  // namespace
}  // namespace ph::test
