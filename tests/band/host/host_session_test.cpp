// A connection of the native host played through: the extension's command, the user's mouse, the outcome.
#include "band/host/host_session.h"

#include <gtest/gtest.h>

#include "band/memdoc/memory_document.h"
#include "platform/memory_registry.h"
#include "tests/band/engine/engine_fakes.h"
#include "tests/band/host/scripted_browser.h"

namespace ph::host {
namespace {

using test::ScriptedBrowser;

// A delivery that counts what the recording link was handed.
class LinkDelivery : public DeliveryPort {
 public:
  explicit LinkDelivery(test::RecordingLink& link) : link_(link) {}
  void Reset() override { before_ = link_.sent.size(); }
  Delivery Result() override { return link_.sent.size() > before_ ? Delivery{"saved", "sent"} : Delivery{"skipped", ""}; }

 private:
  test::RecordingLink& link_;
  std::size_t before_ = 0;
};

// The host's engine over a page of the in-memory document, reached only through messages.
struct HostRig {
  explicit HostRig(const std::string& html)
      : page(MemoryDocument::Parse(html, u"http://site.test/a.html")), helper(page), browser(helper) {}

  // Plays one connection: the open message, then what the test queued.
  int Run(const char* command, const std::function<void(ScriptedBrowser&)>& user = nullptr, const char* type = "open") {
    browser.Send({{"type", type}, {"tab", 7}, {"url", "http://site.test/a.html"}, {"command", command}});
    if (user) user(browser);
    MessageStream stream(browser);
    NativeChannel channel(stream);
    ExtensionMessages shown(channel);
    SelectionEngine engine(EnginePorts{shown_page, toolbar, events, timers, shown, link, registry, files, urls, code_page});
    engine.LoadStores();
    HostSession session({engine, shown_page, events, timers, form, delivery}, channel);
    return session.Run();
  }
  Json Last() const { return browser.told().empty() ? Json() : browser.told().back(); }
  ElementPtr ById(const char* id) { return page->ById(id); }

  std::shared_ptr<MemoryDocument> page;
  test::PageHelperDouble helper;
  ScriptedBrowser browser;
  test::MemoryFiles files;
  test::SimpleUrls urls;
  Windows1252 code_page;
  MemoryRegistry registry;
  ShownPage shown_page;
  test::RecordingToolbar toolbar;
  NoDocumentEvents none;
  RoutedEvents events{none};
  ImmediateTimers timers;
  test::RecordingLink link;
  live::MarkupForm form;
  LinkDelivery delivery{link};
};

constexpr char kPage[] =
    "<table><tr><td id=a style='background-color: blue'><b id=inner>first cell</b></td><td id=b>second</td></tr>"
    "</table><div id=c>third</div>";

TEST(HostSession, ASelectionByTheMouseIsSentAndTheBarSaysWhatWasPicked) {
  HostRig rig(kPage);
  EXPECT_EQ(rig.Run("start", [&](ScriptedBrowser& b) {
    b.Report(0, b.Mouse("hover", rig.ById("inner")));
    b.Report(0, b.Mouse("click", rig.ById("inner"), true));  // Shift: pick, go on
    b.Report(0, b.Mouse("hover", rig.ById("c")));
    b.Report(0, {{"type", "leave"}});                       // onto the bar: the highlight goes
    b.Report(0, b.Mouse("hover", rig.ById("b")));
    b.Report(0, b.Mouse("click", rig.ById("b"), false, true));  // Ctrl: pick and finish
  }), 0);
  ASSERT_EQ(rig.link.sent.size(), 1u);
  EXPECT_EQ(rig.link.sent[0].text, u"first cell\r\nsecond");
  EXPECT_EQ(rig.Last()["type"], "done");
  EXPECT_EQ(rig.Last()["outcome"], "saved");
  EXPECT_NE(rig.Last()["layout"], 0);
  // Backgrounds are back as they were declared; the bar listed the picks as they came.
  EXPECT_EQ(rig.ById("a")->InlineStyle()->BackgroundColor(), StyleValue(u"blue"));
  EXPECT_EQ(rig.ById("c")->InlineStyle()->BackgroundColor(), std::nullopt);
  EXPECT_EQ(rig.helper.bar()["showPicks"], "1 region picked: TD#a");
  EXPECT_NE(rig.helper.bar()["showBar"].find("Shift+click: pick."), std::string::npos);
}

TEST(HostSession, CancelOrAPageThatGoesKeepsNothing) {
  for (const char* end : {"cancel", "gone"}) {
    HostRig rig(kPage);
    rig.Run("start", [&](ScriptedBrowser& b) {
      b.Report(0, b.Mouse("hover", rig.ById("b")));
      b.Report(0, b.Mouse("click", rig.ById("b"), true));
      if (std::string(end) == "cancel") b.Report(0, {{"type", "cancel"}});
      else b.Send({{"type", "gone"}});
    });
    EXPECT_TRUE(rig.link.sent.empty()) << end;
    if (std::string(end) == "cancel") {
      EXPECT_EQ(rig.Last()["outcome"], "cancelled");
      EXPECT_EQ(rig.ById("b")->InlineStyle()->BackgroundColor(), std::nullopt);
    }
  }
}

TEST(HostSession, AKnownLayoutIsSeenAndQuickSavedOnTheNextPage) {
  HostRig first(kPage);
  first.Run("auto");
  ASSERT_EQ(first.Last()["outcome"], "saved");
  HostRig second("<table><tr><td id=a>one</td><td id=b>two more words here</td></tr></table><div>x</div>");
  second.files = first.files;
  second.Run("hosts");
  EXPECT_EQ(second.Last(), (Json{{"type", "hosts"}, {"hosts", {"site.test"}}}));
  second.Run("state");
  EXPECT_NE(second.Last()["layout"], 0);
  second.Run("quick");
  EXPECT_EQ(second.Last()["outcome"], "saved");
  ASSERT_EQ(second.link.sent.size(), 1u);
  EXPECT_EQ(second.link.sent[0].quick_save, 1);
}

TEST(HostSession, AConnectionThatDoesNotOpenOrNamesNoCommandIsRefused) {
  HostRig rig(kPage);
  EXPECT_EQ(rig.Run("start", nullptr, "call"), 1);
  EXPECT_EQ(rig.Last()["type"], "error");
  HostRig other(kPage);
  EXPECT_EQ(other.Run("format-disk"), 1);
  EXPECT_EQ(other.Last()["type"], "error");
  EXPECT_TRUE(other.link.sent.empty());
}

}  // namespace
}  // namespace ph::host
