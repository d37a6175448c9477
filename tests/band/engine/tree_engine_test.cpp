// The engine end to end on documents built in code, in both trees: pick, cut out, send, Quick Save.
#include <gtest/gtest.h>

#include "band/engine/selection_engine.h"
#include "platform/code_page.h"
#include "platform/memory_registry.h"
#include "tests/band/engine/engine_fakes.h"
#include "tests/band/engine/tree_document.h"

namespace ph {
namespace {

struct Band : test::EngineRig {
  void Click(test::TreeNode* node, bool shift, bool ctrl, bool alt) {
    auto doc = std::static_pointer_cast<test::TreeDocument>(browser.top);
    engine.OnHover(MouseEvent{doc->Wrap(node)});
    engine.OnClick(MouseEvent{doc->Wrap(node), 1, shift, ctrl, alt});
  }
};

// A page of one table with a news cell (a headline, a story and an ad) and a side cell.
struct NewsPage {
  explicit NewsPage(const char16_t* story) {
    doc = test::TreeDocument::Make(u"http://news.test/today");
    auto* row = doc->body()->Add("TABLE")->Add("TR");
    news = row->Add("TD");
    headline = news->Add("DIV", u"Headline");
    body = news->Add("DIV", story);
    ad = news->Add("DIV", u"Buy now");
    side = row->Add("TD", u"Links");
  }
  std::shared_ptr<test::TreeDocument> doc;
  test::TreeNode *news, *headline, *body, *ad, *side;
};

TEST(TreeEngine, AHandSelectionIsSentStoredAndRepeatedByQuickSaveOnTheNextPage) {
  Band band;
  NewsPage monday(u"Shares rose");
  band.browser.top = monday.doc;
  band.engine.StartSelection();
  EXPECT_EQ(band.events.connected.size(), 1u);
  band.Click(monday.ad, false, false, true);        // Alt: cut out
  band.Click(monday.body, true, false, false);      // Shift: pick
  band.Click(monday.headline, false, true, false);  // Ctrl: pick and end
  EXPECT_TRUE(band.events.connected.empty());
  ASSERT_EQ(band.link.sent.size(), 1u);
  EXPECT_EQ(band.link.sent[0].text, u"Shares rose\r\nHeadline");
  EXPECT_EQ(band.link.sent[0].layout_id, 1);
  EXPECT_EQ(monday.ad->text, u"\r\n");
  EXPECT_EQ(monday.ad->style["visibility"], u"hidden");
  ASSERT_EQ(band.engine.selections().regions().size(), 3u);

  NewsPage tuesday(u"Shares fell");
  band.browser.top = tuesday.doc;
  band.engine.OnDocumentComplete();
  EXPECT_EQ(band.toolbar.enabled(kCmdQuickSave), true);
  band.engine.QuickSave();
  ASSERT_TRUE(band.timers.running.count(kQuickSaveTimer));
  band.engine.OnTimer(kQuickSaveTimer);
  ASSERT_EQ(band.link.sent.size(), 2u);
  EXPECT_EQ(band.link.sent[1].text, u"Shares fell\r\nHeadline");
  EXPECT_EQ(band.link.sent[1].quick_save, 1);
  EXPECT_EQ(tuesday.ad->style["visibility"], u"hidden");
}

TEST(TreeEngine, QuickSaveOnAPageThatLostARegionSaysSoAndSendsNothing) {
  Band band;
  NewsPage monday(u"Story");
  band.browser.top = monday.doc;
  band.engine.StartSelection();
  band.Click(monday.side, false, true, false);
  NewsPage changed(u"Story");
  changed.side->tag = u"TH";  // same table shape, but the picked cell is gone
  band.browser.top = changed.doc;
  band.engine.QuickSave();
  ASSERT_EQ(band.messages.shown.size(), 1u);
  EXPECT_EQ(band.messages.shown[0].message.text,
            "Not all selections have been located. Perhaps the layout of this document has changed. Make a manual "
            "selection first.");
  EXPECT_TRUE(band.timers.running.empty());
  EXPECT_EQ(band.link.sent.size(), 1u);
}

TEST(TreeEngine, AutoSelectionPicksTheCellWithTheMostWordsOfItsOwn) {
  Band band;
  NewsPage page(u"A long story of many words indeed");
  band.browser.top = page.doc;
  band.engine.AutoSelect();
  ASSERT_EQ(band.engine.selection_list().size(), 1u);
  // The news cell holds the story and more; cells are looked at before blocks, and blocks inside a
  // cell take nothing from it.
  EXPECT_TRUE(SameElement(*band.engine.selection_list()[0].element, *page.doc->Wrap(page.news)));
  band.engine.OnTimer(kAutoSelectTimer);
  ASSERT_EQ(band.link.sent.size(), 1u);
  EXPECT_EQ(band.link.sent[0].quick_save, 0);
}

}  // namespace
}  // namespace ph
