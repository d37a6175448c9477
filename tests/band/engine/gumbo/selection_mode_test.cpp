// Selection mode as the user drives it: hover, modifier clicks, table removal, settings, connections.
#include "band/engine/selection_engine.h"

#include <gtest/gtest.h>

#include "common/highlight_color.h"
#include "common/settings_names.h"
#include "tests/band/engine/gumbo/engine_harness.h"

namespace ph {
namespace {

using test::Wide;

class SelectionMode : public ::testing::Test {
 protected:
  test::EngineHarness h_;
  std::shared_ptr<MemoryDocument> doc = h_.ShowHtml(
      "<table><tr><td id=cell style='background-color: blue'><span id=span>in a cell</span></td>"
      "<td id=other>other</td></tr></table><p id=loose>outside</p>"
      "<div id=box><table id=t1><tr><td><table id=t2><tr><td>x</td></tr></table></td></tr></table>"
      "<table id=t3></table><b>kept</b></div>");

  StyleValue Background(const char* id) { return doc->ById(id)->InlineStyle()->BackgroundColor(); }
};

TEST_F(SelectionMode, StartConnectsEveryDocumentAndStopDisconnectsThem) {
  auto top = h_.Show("frameset.html");
  h_.engine.StartSelection();
  EXPECT_TRUE(h_.engine.selection_active());
  EXPECT_EQ(h_.events.connection_count(), 4u);
  EXPECT_EQ(h_.toolbar.checked(kCmdStartSelection), true);
  h_.engine.StartSelection();  // already selecting: nothing more is connected
  EXPECT_EQ(h_.events.connection_count(), 4u);
  h_.engine.StopSelection();
  EXPECT_FALSE(h_.engine.selection_active());
  EXPECT_EQ(h_.events.connection_count(), 0u);
  EXPECT_EQ(h_.toolbar.checked(kCmdStartSelection), false);
}

TEST_F(SelectionMode, WithoutADocumentNothingHappens) {
  h_.browser.top = nullptr;
  h_.engine.StartSelection();
  EXPECT_FALSE(h_.engine.selection_active());
  EXPECT_EQ(h_.toolbar.checked(kCmdStartSelection), std::nullopt);
}

TEST_F(SelectionMode, HoverWidensToTheCellAndRestoresWhatWasThere) {
  h_.engine.StartSelection();
  h_.events.Hover(doc->ById("span"));
  EXPECT_TRUE(SameElement(*h_.engine.hover_element(), *doc->ById("cell")));
  EXPECT_EQ(Background("cell"), StyleValue(u"#ffcccc"));
  h_.events.Hover(doc->ById("loose"));  // no enclosing cell or block: the element itself
  EXPECT_EQ(Background("cell"), StyleValue(u"blue"));
  EXPECT_EQ(Background("loose"), StyleValue(u"#ffcccc"));
  h_.events.Hover(doc->ById("other"));
  EXPECT_EQ(Background("loose"), std::nullopt);
  EXPECT_EQ(*doc->ById("loose")->OuterHtml(), u"<P id=\"loose\">outside</P>");
}

TEST_F(SelectionMode, FineSelectionHighlightsTheExactElement) {
  h_.engine.OnFineSelectionCommand();
  EXPECT_TRUE(h_.engine.fine_selection());
  h_.events.Hover(doc->ById("span"));
  EXPECT_TRUE(SameElement(*h_.engine.hover_element(), *doc->ById("span")));
  h_.engine.OnStartSelectionCommand(false);
  EXPECT_FALSE(h_.engine.fine_selection());
  EXPECT_FALSE(h_.engine.selection_active());
}

TEST_F(SelectionMode, DefaultModifiersPickDeselectAndEnd) {
  h_.engine.StartSelection();
  h_.Select(doc->ById("cell"));  // Shift
  EXPECT_TRUE(h_.engine.selection_active());
  ASSERT_EQ(h_.engine.selection_list().size(), 1u);
  EXPECT_EQ(h_.engine.selection_list()[0].saved_background, StyleValue(u"blue"));
  EXPECT_EQ(h_.engine.hover_element(), nullptr);
  EXPECT_EQ(Background("cell"), StyleValue(u"#ffcccc"));

  h_.Deselect(doc->ById("loose"));  // Alt
  ASSERT_EQ(h_.engine.deselection_list().size(), 1u);
  EXPECT_EQ(Background("loose"), StyleValue(u"#000000"));

  h_.Select(doc->ById("cell"));  // the same element twice is picked twice
  EXPECT_EQ(h_.engine.selection_list().size(), 2u);

  h_.SelectAndEnd(doc->ById("other"));  // Ctrl
  EXPECT_FALSE(h_.engine.selection_active());
  ASSERT_EQ(h_.link.sent.size(), 1u);
  EXPECT_EQ(h_.link.sent[0].text, u"in a cell\r\nin a cell\r\nother");
}

TEST_F(SelectionMode, CancelKeepsNothingAndPutsTheBackgroundsBack) {
  h_.engine.StartSelection();
  h_.Select(doc->ById("cell"));
  h_.Select(doc->ById("cell"));  // picked twice: the first saved background is the one put back
  h_.events.Hover(doc->ById("loose"));
  h_.engine.CancelSelection();
  EXPECT_FALSE(h_.engine.selection_active());
  EXPECT_EQ(h_.events.connection_count(), 0u);
  EXPECT_EQ(Background("cell"), StyleValue(u"blue"));
  EXPECT_EQ(Background("loose"), std::nullopt);
  EXPECT_TRUE(h_.engine.selection_list().empty());
  EXPECT_TRUE(h_.link.sent.empty());
  EXPECT_EQ(h_.engine.current_layout_id(), 0);
}

TEST_F(SelectionMode, ClicksThatMatchNoSettingChangeNothing) {
  h_.engine.StartSelection();
  auto cell = doc->ById("cell");
  h_.events.Hover(cell);
  h_.events.Click(cell, false, false, false);        // no keys
  h_.events.Click(cell, true, false, false, 2);      // right button
  h_.events.Click(cell, true, true, false);          // Ctrl+Shift is not Ctrl
  EXPECT_TRUE(h_.engine.selection_list().empty());
  EXPECT_TRUE(h_.engine.selection_active());
  EXPECT_TRUE(h_.engine.hover_element());
}

TEST_F(SelectionMode, CtrlClickOverNothingStillEnds) {
  h_.engine.StartSelection();
  h_.engine.OnClick(MouseEvent{nullptr, 1, false, true, false});
  EXPECT_FALSE(h_.engine.selection_active());
  EXPECT_TRUE(h_.link.sent.empty());
}

TEST_F(SelectionMode, ExcludeTablesRemovesNestedTablesAndKeepsTheHighlight) {
  h_.engine.StartSelection();
  h_.engine.set_fine_selection(true);
  h_.ExcludeTables(doc->ById("box"));  // Ctrl+Alt
  // The parser turns each "\r\n" into one line feed, as HTML parsers do.
  EXPECT_EQ(*doc->ById("box")->InnerHtml(), u"\n\n<B>kept</B>");
  EXPECT_EQ(h_.engine.exclusion_list().size(), 1u);
  EXPECT_TRUE(SameElement(*h_.engine.hover_element(), *doc->ById("box")));
  EXPECT_EQ(Background("box"), StyleValue(u"#ffcccc"));
  EXPECT_EQ(h_.toolbar.enabled(kCmdQuickSave), false);
}

TEST_F(SelectionMode, EqualSettingsRunEveryMatchingActionInOrder) {
  auto key = h_.registry.Create(RegistryRoot::kCurrentUser, reg::kProductKey);
  SetBinaryU16(*key, reg::kExcludeTableHotkeyMod, kModShift);
  SetBinaryU16(*key, reg::kDeselectHotkeyMod, kModShift);
  SetBinaryU32(*key, reg::kHighlightColor, MakeColorRef(1, 2, 3));
  h_.engine.StartSelection();
  EXPECT_EQ(h_.engine.settings().highlight_color, "#010203");
  h_.engine.set_fine_selection(true);
  h_.Select(doc->ById("box"));  // exclude tables, then pick; the deselect finds no hover element
  EXPECT_EQ(h_.engine.exclusion_list().size(), 1u);
  EXPECT_EQ(h_.engine.selection_list().size(), 1u);
  EXPECT_TRUE(h_.engine.deselection_list().empty());
  EXPECT_EQ(Background("box"), StyleValue(u"#010203"));
}

TEST_F(SelectionMode, AHighlightColourOfAnotherTypeIsIgnored) {
  auto key = h_.registry.Create(RegistryRoot::kCurrentUser, reg::kProductKey);
  const std::uint32_t blue = MakeColorRef(0, 0, 255);
  key->Set(reg::kHighlightColor, RegistryType::kDword, &blue, 4);
  h_.engine.StartSelection();
  EXPECT_EQ(h_.engine.settings().highlight_color, "#ffcccc");
}

TEST_F(SelectionMode, RemoveTablesEndsWhenTheDocumentRefusesToReplace) {
  // An element whose tables all refuse to be replaced, as a browser may for a page it protects.
  class Refusing : public Element {
   public:
    Refusing(ElementPtr inner, bool claims_success) : inner_(std::move(inner)), claims_(claims_success) {}
    std::optional<WideString> TagName() override { return inner_->TagName(); }
    ElementPtr Parent() override { return inner_->Parent(); }
    CollectionPtr Children() override { return inner_->Children(); }
    CollectionPtr ElementsByTagName(WideView t) override {
      return std::make_shared<Wrap>(inner_->ElementsByTagName(t), claims_);
    }
    DocumentPtr OwnerDocument() override { return inner_->OwnerDocument(); }
    long SourceIndex() override { return inner_->SourceIndex(); }
    bool Contains(Element& o) override { return inner_->Contains(o); }
    std::optional<WideString> InnerHtml() override { return inner_->InnerHtml(); }
    std::optional<WideString> OuterHtml() override { return inner_->OuterHtml(); }
    std::optional<WideString> InnerText() override { return inner_->InnerText(); }
    bool SetInnerHtml(WideView) override { return false; }
    bool SetOuterHtml(WideView) override { return claims_; }
    bool SetInnerText(WideView) override { return false; }
    bool ScrollIntoView(bool) override { return false; }
    StylePtr InlineStyle() override { return nullptr; }
    CollectionPtr Rows() override { return nullptr; }
    CollectionPtr Cells() override { return nullptr; }
    std::optional<WideString> Rel() override { return std::nullopt; }

   private:
    struct Wrap : ElementCollection {
      Wrap(CollectionPtr c, bool claims) : c_(std::move(c)), claims_(claims) {}
      long Length() override { return c_->Length(); }
      ElementPtr Item(long i) override {
        auto e = c_->Item(i);
        return e ? std::make_shared<Refusing>(e, claims_) : nullptr;
      }
      CollectionPtr Tags(WideView t) override { return c_->Tags(t); }
      CollectionPtr c_;
      bool claims_;
    };
    ElementPtr inner_;
    bool claims_;
  };
  h_.engine.RemoveTables(std::make_shared<Refusing>(doc->ById("box"), false));
  EXPECT_EQ(doc->ById("box")->ElementsByTagName(u"table")->Length(), 3);
  EXPECT_EQ(h_.toolbar.enabled(kCmdQuickSave), std::nullopt);
  // One that says it replaced them and keeps them all the same.
  h_.engine.RemoveTables(std::make_shared<Refusing>(doc->ById("box"), true));
  EXPECT_EQ(doc->ById("box")->ElementsByTagName(u"table")->Length(), 3);
}

TEST_F(SelectionMode, HyperlinksAreRefusedOnlyWhileSelectingAndWhenSuppressed) {
  EXPECT_FALSE(h_.engine.ShouldCancelNavigation());
  h_.engine.StartSelection();
  EXPECT_TRUE(h_.engine.ShouldCancelNavigation());
  h_.engine.StopSelection();
  auto key = h_.registry.Create(RegistryRoot::kCurrentUser, reg::kProductKey);
  SetBinaryU32(*key, reg::kSuppressHyperlink, 0);
  h_.engine.StartSelection();
  EXPECT_FALSE(h_.engine.ShouldCancelNavigation());
}

TEST_F(SelectionMode, EventsOfDocumentsThatAreNotConnectedDoNotReachTheEngine) {
  EXPECT_FALSE(h_.events.Hover(doc->ById("cell")));
  EXPECT_EQ(h_.engine.hover_element(), nullptr);
  h_.engine.StartSelection();
  h_.engine.StopSelection();
  EXPECT_FALSE(h_.events.Hover(doc->ById("cell")));
}

}  // namespace
}  // namespace ph
