// Selection mode on a page in real headless Chromium, driven by the browser's own mouse events, and
// the same selection on the in-memory document of the page's rendered markup.
#include <fstream>
#include <sstream>

#include <gtest/gtest.h>

#include "band/cdp/posix/chromium_process.h"
#include "band/cdp/posix/rendered_page.h"
#include "band/cdp/posix/tab_channel.h"
#include "band/engine/inline_style.h"
#include "band/engine/page_host.h"
#include "band/engine/page_text.h"
#include "band/live/live_document.h"
#include "band/live/live_events.h"
#include "band/live/live_selection.h"
#include "common/data_file_names.h"
#include "common/utf8.h"
#include "tests/band/engine/gumbo/engine_harness.h"
#include "tests/support/loopback_http_server.h"
#include "tools/grab/parsed_markup_form.h"

namespace ph::cdp {
namespace {

using namespace std::chrono_literals;
using live::LiveDocument;
using live::LiveEvents;
using live::LiveHandle;
using live::LivePage;

// The engine on the live page, with the page's events.
struct LiveRig {
  explicit LiveRig(LivePage& page) : events(page) {}
  test::MemoryFiles files;
  test::SimpleUrls urls;
  Windows1252 code_page;
  MemoryRegistry registry;
  test::FixedBrowser browser;
  test::RecordingToolbar toolbar;
  LiveEvents events;
  test::RecordingTimers timers;
  test::RecordingMessages messages;
  test::RecordingLink link;
  SelectionEngine engine{EnginePorts{browser, toolbar, events, timers, messages, link, registry, files, urls, code_page}};
};

// Modifier bits of Input.dispatchMouseEvent.
constexpr int kAlt = 1, kCtrl = 2, kShift = 8;

// A user's mouse on the live page: moved into an element's padding (so that the element itself is
// under it) and clicked with keys held; each step waits until the engine has seen it.
class Mouse {
 public:
  Mouse(PageTab& tab, LiveRig& rig) : tab_(tab), rig_(rig) {}

  // The offset is where the element's document lies in the page (a frame's place).
  bool Hover(LiveDocument& document, const ElementPtr& element, double left = 0, double top = 0) {
    const Json box = document.Invoke("box", {LiveHandle(*element)});
    x_ = left + box[0].get<double>() + 3;
    y_ = top + box[1].get<double>() + 3;
    tab_.Call("Input.dispatchMouseEvent", {{"type", "mouseMoved"}, {"x", x_}, {"y", y_}});
    return PumpUntil([&] {
      const ElementPtr& hover = rig_.engine.hover_element();
      return hover && SameElement(*hover, *element);
    });
  }
  bool Click(int modifiers, const std::function<bool()>& done) {
    for (const char* type : {"mousePressed", "mouseReleased"})
      tab_.Call("Input.dispatchMouseEvent", {{"type", type}, {"x", x_}, {"y", y_}, {"button", "left"},
                                             {"clickCount", 1}, {"modifiers", modifiers}});
    return PumpUntil(done);
  }

 private:
  bool PumpUntil(const std::function<bool()>& done) {
    const auto end = Clock::now() + 10s;
    while (!done()) {
      if (Clock::now() > end) return false;
      rig_.events.Pump(Clock::now() + 100ms);
    }
    return true;
  }

  PageTab& tab_;
  LiveRig& rig_;
  double x_ = 0, y_ = 0;
};

ElementPtr ById(Document& document, const char* id) {
  CollectionPtr all = document.ElementsByTagName(u"*");
  for (long i = 0, n = all ? all->Length() : 0; i < n; ++i)
    if (ElementPtr e = all->Item(i); e && e->Id() == Utf8ToUtf16(id)) return e;
  return nullptr;
}

std::optional<WideString> StyleAttribute(LiveDocument& document, const ElementPtr& element) {
  const Json value = document.Invoke("style", {LiveHandle(*element)});
  return value.is_string() ? std::optional<WideString>(Utf8ToUtf16(value.get<std::string>())) : std::nullopt;
}

std::string ReadPage(const std::string& name) {
  std::ifstream in(test::PagesDir() + "/" + name, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

// The selection board and its frame on loopback, and a headless browser to show them.
struct BoardInChromium {
  BoardInChromium() {
    server.Serve("/board.html", {200, "text/html; charset=utf-8", ReadPage("selection_board.html")});
    server.Serve("/board_frame.html", {200, "text/html; charset=utf-8", ReadPage("board_frame.html")});
    browser = ChromiumProcess::Start(ChromiumOptions{}, &error);
  }
  test::LoopbackHttpServer server;
  std::string error;
  std::unique_ptr<ChromiumProcess> browser;
};

TEST(LiveSelectionTest, MouseInChromiumPicksWhatTheInMemoryDocumentPicksByteForByte) {
  if (FindProgram("chromium").empty()) GTEST_SKIP() << "chromium is not installed";
  BoardInChromium board;
  ASSERT_TRUE(board.browser) << board.error;
  PageTab tab(board.browser->client());
  const std::string frame = LoadAndSettle(tab, board.server.Url("/board.html"));
  RenderedDocument rendered, rendered_frame;
  ASSERT_TRUE(CaptureDocument(tab, frame, &rendered));
  const Json frames = tab.Call("Page.getFrameTree").value("frameTree", Json::object()).value("childFrames", Json::array());
  ASSERT_EQ(frames.size(), 1u);
  ASSERT_TRUE(CaptureDocument(tab, frames[0]["frame"].value("id", ""), &rendered_frame));

  TabChannel channel(tab, frame);
  grab::ParsedMarkupForm form;
  auto page = std::make_shared<LivePage>(channel, form);
  auto top = LiveDocument::Top(page);
  ASSERT_TRUE(top);
  top->Invoke("showBar", {"Pick the regions"});
  LiveRig live(*page);
  live.browser.top = top;
  Mouse mouse(tab, live);

  test::EngineHarness memory;
  auto memory_top = MemoryDocument::Parse(rendered.html, Utf8ToUtf16(rendered.url), [&](const WideString&, const WideString&) {
    return std::optional<FramePage>(FramePage{Utf8ToUtf16(rendered_frame.url), rendered_frame.html});
  });
  memory.browser.top = memory_top;

  // The bar is not part of the page the engine sees, and it covers none of the page's content.
  EXPECT_EQ(top->ElementsByTagName(u"grab-bar")->Length(), 0);
  const double bar_bottom = tab.Call("Runtime.evaluate", {{"expression", "document.querySelector('grab-bar')"
                                                                         ".getBoundingClientRect().bottom"},
                                                        {"returnByValue", true}})["result"]["value"].get<double>();
  EXPECT_GT(bar_bottom, 20);
  EXPECT_GE(top->Invoke("box", {LiveHandle(*ById(*top, "news"))})[1].get<double>(), bar_bottom);

  for (SelectionEngine* engine : {&live.engine, &memory.engine}) {
    engine->OnDocumentComplete();
    engine->OnStartSelectionCommand(true);
  }
  live.events.RefuseNavigation(true);
  const WideString highlight = WidenAscii(live.engine.settings().highlight_color);

  // Hovering highlights; moving on puts the declared background back as it was written.
  const ElementPtr news = ById(*top, "news"), prices = ById(*top, "prices");
  ASSERT_TRUE(mouse.Hover(*top, news));
  auto news_style = StyleAttribute(*top, news);
  ASSERT_TRUE(news_style);
  EXPECT_EQ(StyleProperty(&*news_style, u"background-color"), highlight);
  ASSERT_TRUE(mouse.Hover(*top, prices));
  EXPECT_EQ(StyleAttribute(*top, news), u"color: #333; background-color: #eef;");
  const auto prices_style = StyleAttribute(*top, prices);
  ASSERT_TRUE(prices_style);
  EXPECT_EQ(StyleProperty(&*prices_style, u"background-color"), highlight);

  // Each modifier set of the settings, as the user would press them.
  const auto& l = live.engine;
  ASSERT_TRUE(mouse.Click(kShift, [&] { return l.selection_list().size() == 1; }));
  ASSERT_TRUE(mouse.Hover(*top, ById(*top, "ad")));
  ASSERT_TRUE(mouse.Click(kAlt, [&] { return l.deselection_list().size() == 1; }));
  ASSERT_TRUE(mouse.Hover(*top, ById(*top, "sidebar")));
  ASSERT_TRUE(mouse.Click(kCtrl | kAlt, [&] { return l.exclusion_list().size() == 1; }));
  EXPECT_EQ(ById(*top, "sidebar")->ElementsByTagName(u"table")->Length(), 0);
  ASSERT_TRUE(mouse.Hover(*top, ById(*top, "notes")));
  ASSERT_TRUE(mouse.Click(kShift, [&] { return l.selection_list().size() == 2; }));
  // A region in a frame: the frame's document is reached through its frame element.
  const auto live_frames = top->FrameDocuments();
  ASSERT_EQ(live_frames.size(), 1u);
  auto& side = static_cast<LiveDocument&>(*live_frames[0]);
  const Json side_box = top->Invoke("box", {LiveHandle(*ById(*top, "side"))});
  ASSERT_TRUE(mouse.Hover(side, ById(side, "tip"), side_box[0].get<double>(), side_box[1].get<double>()));
  ASSERT_TRUE(mouse.Click(kShift, [&] { return l.selection_list().size() == 3; }));
  ASSERT_TRUE(mouse.Hover(*top, news));
  ASSERT_TRUE(mouse.Click(kCtrl, [&] { return !l.selection_active(); }));

  memory.Select(memory_top->ById("prices"));
  memory.Deselect(memory_top->ById("ad"));
  memory.ExcludeTables(memory_top->ById("sidebar"));
  memory.Select(memory_top->ById("notes"));
  memory.Select(std::static_pointer_cast<MemoryDocument>(memory_top->FrameDocuments().at(0))->ById("tip"));
  memory.SelectAndEnd(memory_top->ById("news"));

  // Picked regions get their backgrounds back; one that had no style has none again.
  EXPECT_EQ(StyleAttribute(*top, news), u"color: #333; background-color: #eef;");
  EXPECT_EQ(StyleAttribute(*top, prices), std::nullopt);

  ASSERT_EQ(live.link.sent.size(), 1u);
  ASSERT_EQ(memory.link.sent.size(), 1u);
  const OutgoingContent &a = live.link.sent[0], &b = memory.link.sent[0];
  EXPECT_EQ(Utf16ToUtf8(a.html), Utf16ToUtf8(b.html));
  EXPECT_EQ(Utf16ToUtf8(a.text), Utf16ToUtf8(b.text));
  EXPECT_EQ(a.layout_id, b.layout_id);
  for (const char* file : {kLayoutsFileName, kSelectionsFileName, kRegionsFileName}) {
    const std::string path = ModuleFilePath(live.files, file);
    EXPECT_FALSE(live.files[path].empty()) << file;
    EXPECT_EQ(live.files[path], memory.files[path]) << file;
  }
}

// What the band's bar and selection mode add around the engine, with the browser's own mouse: the
// pointer off the page's content takes the highlight away, and a picking click selects no text.
TEST(LiveSelectionTest, ThePointerOffTheContentHighlightsNothingAndAPickSelectsNoText) {
  if (FindProgram("chromium").empty()) GTEST_SKIP() << "chromium is not installed";
  BoardInChromium board;
  ASSERT_TRUE(board.browser) << board.error;
  PageTab tab(board.browser->client());
  TabChannel channel(tab, LoadAndSettle(tab, board.server.Url("/board.html")));
  grab::ParsedMarkupForm form;
  auto page = std::make_shared<LivePage>(channel, form);
  auto top = LiveDocument::Top(page);
  ASSERT_TRUE(top);
  LiveRig live(*page);
  live.browser.top = top;
  live::LiveSelection selection(live.engine, *page, live.events);
  selection.Begin(false);
  const auto move = [&](double x, double y, int modifiers, const std::function<bool()>& done) {
    tab.Call("Input.dispatchMouseEvent", {{"type", "mouseMoved"}, {"x", x}, {"y", y}, {"modifiers", modifiers}});
    const auto end = Clock::now() + 10s;
    while (!done() && Clock::now() < end) selection.Step(Clock::now() + 100ms);
    return done();
  };
  const Json box = top->Invoke("box", {LiveHandle(*ById(*top, "news"))});
  const double x = box[0].get<double>() + 20, y = box[1].get<double>() + 5;
  ASSERT_TRUE(move(x, y, 0, [&] { return live.engine.hover_element() != nullptr; }));
  // The empty space below the content is the root element's, which is not a region.
  const double bottom = tab.Call("Runtime.evaluate", {{"expression", "innerHeight"}, {"returnByValue", true}})
                            ["result"]["value"].get<double>() - 3;
  EXPECT_TRUE(move(5, bottom, 0, [&] { return live.engine.hover_element() == nullptr; }));
  EXPECT_EQ(StyleAttribute(*top, ById(*top, "news")), u"color: #333; background-color: #eef;");
  // Shift+click picks the region and nothing else: no text of the page gets selected.
  ASSERT_TRUE(move(x, y, kShift, [&] { return live.engine.hover_element() != nullptr; }));
  for (const char* type : {"mousePressed", "mouseMoved", "mouseReleased"})
    tab.Call("Input.dispatchMouseEvent", {{"type", type}, {"x", std::string(type) == "mouseMoved" ? x + 80 : x},
                                          {"y", y}, {"button", "left"}, {"clickCount", 1}, {"modifiers", kShift}});
  const auto end = Clock::now() + 10s;
  while (live.engine.selection_list().empty() && Clock::now() < end) selection.Step(Clock::now() + 100ms);
  EXPECT_EQ(live.engine.selection_list().size(), 1u);
  EXPECT_EQ(tab.Call("Runtime.evaluate", {{"expression", "getSelection().toString()"}, {"returnByValue", true}})
                ["result"]["value"],
            "");
}

}  // namespace
}  // namespace ph::cdp
