// The MSHTML binding where the browser's document refuses, fails or goes away, and what it writes back.
#include <mshtmdid.h>

#include "band/engine/element_path.h"
#include "tests/band/mshtml/win32/binding_view.h"

namespace ph::test {
namespace {

class BindingFaults : public ::testing::Test {
 protected:
  // A page of one frame whose body holds a box with two tables and a paragraph.
  BindingFaults() {
    box = frame->body()->Add("DIV");
    box->Add("TABLE")->Add("TR")->Add("TD", u"one");
    box->Add("TABLE")->Add("TR")->Add("TD", u"two");
    para = box->Add("P", u"text");
    top->frames = {frame};
    view_.Show(top);
  }
  ElementPtr Reached(TreeNode* node) { return Reach(view_, top, node); }

  std::shared_ptr<TreeDocument> top = TreeDocument::Make(u"http://faults.test/"), frame = TreeDocument::Make(u"http://faults.test/f");
  TreeNode *box, *para;
  BindingView view_;
  ScenarioBand band_{view_};
};

TEST_F(BindingFaults, TheSavedBackgroundIsWrittenBackAsItWasReadNoValueIncluded) {
  band_.engine.StartSelection();
  view_.Hover(para);
  view_.Hover(box);
  const auto& written = view_.page().colours_written();
  ASSERT_GE(written.size(), 2u);
  EXPECT_EQ(written[0].type, VT_BSTR);
  EXPECT_EQ(written[0].text, u"#ffcccc");
  EXPECT_EQ(written[1].type, VT_BSTR);  // the paragraph had none: a null string, as the browser gave it
  EXPECT_TRUE(written[1].null_string);
  EXPECT_EQ(para->style.count("background-color"), 0u);
}

TEST_F(BindingFaults, ADocumentThatRefusesItsBodyResolvesNothing) {
  view_.page().faults(*frame).refuse_body = true;
  auto documents = CollectDocuments(view_.TopDocument());
  ASSERT_EQ(documents.size(), 2u);
  EXPECT_EQ(documents[1]->Body(), nullptr);
  EXPECT_EQ(ResolvePath(view_.TopDocument(), ElementPath{{"frame", 1}, {"DIV", 0}}, band_.code_page), nullptr);
  EXPECT_TRUE(ResolvePath(view_.TopDocument(), ElementPath{{"frame", 0}}, band_.code_page));
}

TEST_F(BindingFaults, FramesThatRefuseAccessAndObjectsThatAreNoFramesAreLeftOut) {
  auto other = TreeDocument::Make(u"http://elsewhere.test/");
  top->frames = {other, frame};
  view_.page().faults(*other).refuse_access = true;
  view_.page().faults(*top).foreign_embedding = true;
  auto documents = CollectDocuments(view_.TopDocument());
  ASSERT_EQ(documents.size(), 2u);
  EXPECT_EQ(documents[1]->Url(), WideString(u"http://faults.test/f"));
}

TEST_F(BindingFaults, ADetachedElementAnswersWithoutAPlaceInThePage) {
  ElementPtr table = Reached(box->children[0].get());
  ASSERT_TRUE(table);
  ASSERT_TRUE(table->SetOuterHtml(u"\r\n"));
  EXPECT_EQ(table->Parent(), nullptr);
  EXPECT_LT(table->SourceIndex(), 0);
  EXPECT_FALSE(Reached(box)->Contains(*table));
  const ElementPath path = BuildPath(view_.TopDocument(), table, band_.code_page);
  EXPECT_TRUE(path.empty() || path[0].name != "frame");
  EXPECT_EQ(box->children.size(), 2u);
}

TEST_F(BindingFaults, ACollectionWhoseItemFailsPartWayGivesNothingThereAndTablesStillGo) {
  view_.page().faults(*frame).item_fails_from = 1;
  auto tables = Reached(box)->ElementsByTagName(u"table");
  ASSERT_TRUE(tables);
  EXPECT_EQ(tables->Length(), 2);
  EXPECT_TRUE(tables->Item(0));
  EXPECT_EQ(tables->Item(1), nullptr);
  band_.engine.RemoveTables(Reached(box));  // the live collection brings the second table to the front
  ASSERT_EQ(box->children.size(), 1u);
  EXPECT_EQ(box->children[0].get(), para);
}

TEST_F(BindingFaults, AnEventWithoutASourceElementStillCarriesItsKeys) {
  band_.engine.StartSelection();
  EXPECT_EQ(view_.connections(), 2u);
  EXPECT_EQ(view_.Click(nullptr, false, true, false), 1);  // Ctrl over no element ends the selection
  EXPECT_FALSE(band_.engine.selection_active());
  EXPECT_EQ(view_.connections(), 0u);
  EXPECT_TRUE(band_.link.sent.empty());
}

TEST_F(BindingFaults, ADocumentThatRefusesTheConnectionGivesNoCookie) {
  view_.page().faults(*frame).refuse_connection = true;
  auto documents = CollectDocuments(view_.TopDocument());
  ASSERT_EQ(documents.size(), 2u);
  EXPECT_EQ(view_.events().Advise(*documents[1], band_.engine), std::nullopt);
  auto cookie = view_.events().Advise(*documents[0], band_.engine);
  ASSERT_TRUE(cookie);
  view_.events().Unadvise(*documents[0], *cookie);
  EXPECT_EQ(view_.connections(), 0u);
}

TEST_F(BindingFaults, OnlyTheEventsOfTheEngineAreTakenAndOnlyWithAnEventObject) {
  struct Counting : DocumentEventSink {
    void OnHover(const MouseEvent&) override { ++hovers; }
    void OnClick(const MouseEvent&) override { ++clicks; }
    int hovers = 0, clicks = 0;
  } sink;
  DISPPARAMS none = {nullptr, nullptr, 0, 0};
  EXPECT_FALSE(mshtml::RouteDocumentEvent(DISPID_HTMLDOCUMENTEVENTS2_ONCLICK, &none, sink));
  EXPECT_TRUE(mshtml::RouteDocumentEvent(mshtml::kDispidMouseUp, &none, sink));
  EXPECT_EQ(sink.hovers + sink.clicks, 0);
}

TEST_F(BindingFaults, NoElementOfAPageThatIsGoneIsTouchedAndItsConnectionsAreUndone) {
  band_.engine.StartSelection();
  view_.Hover(para);
  standin::Page& gone = view_.page();
  view_.Show(TreeDocument::Make(u"http://faults.test/next"));
  gone.Unload();
  band_.engine.StopSelection();  // the highlight is not restored on a page that is no longer there
  EXPECT_EQ(gone.calls_after_unload(), 0);
  EXPECT_EQ(view_.connections(), 0u);
}

TEST(BindingLifetime, EveryObjectTakenFromTheDocumentIsReleased) {
  const long before = standin::LiveObjects();
  {
    auto top = TreeDocument::Make(u"http://leak.test/");
    auto* row = top->body()->Add("TABLE")->Add("TR");
    auto* cell = row->Add("TD", u"cell");
    row->Add("TD", u"other");
    BindingView view;
    ScenarioBand band(view);
    view.Show(top);
    band.engine.StartSelection();
    band.Pick(cell, false, true, true);
    band.Pick(cell, false, true, false);
    ASSERT_EQ(band.link.sent.size(), 1u);
  }
  EXPECT_EQ(standin::LiveObjects(), before);
}

}  // namespace
}  // namespace ph::test
