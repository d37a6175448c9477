// The extension with grab as its native host, in headless Chromium and Firefox: selection with the browser's own mouse, Quick Save, and the faults on the way.
#include <signal.h>

#include <filesystem>
#include <sstream>

#include <gtest/gtest.h>

#include "tests/extension/extension_rig.h"
#include "tests/support/loopback_http_server.h"
#include "tests/support/test_paths.h"

namespace ph::test {
namespace {

namespace fs = std::filesystem;

constexpr char kDataFiles[][16] = {"layouts.dat", "selections.dat", "regions.dat"};
constexpr char kHighlight[] = "#ffcccc";  // the settings' highlight colour by default

std::string ReadPage(const std::string& name) { return ReadWholeFile(SourceDir() + "/tests/pages/" + name); }

HttpResponse Html(std::string body) { return {200, "text/html; charset=utf-8", std::move(body)}; }

// The id of an element of the page, for the page's own scripts.
std::string ById(const std::string& id) { return "document.getElementById('" + id + "')"; }
std::string InFrame(const std::string& frame, const std::string& id) {
  return ById(frame) + ".contentDocument.getElementById('" + id + "')";
}

std::string Quoted(const std::string& word) { return "'" + word + "'"; }

class GrabHost : public ::testing::TestWithParam<Browser> {
 protected:
  void SetUp() override {
    if (!BrowserInstalled(GetParam())) GTEST_SKIP() << BrowserName(GetParam()) << " is not installed";
    ASSERT_TRUE(server.ok());
    server.Serve("/board.html", Html(ReadPage("selection_board.html")));
    server.Serve("/board_frame.html", Html(ReadPage("board_frame.html")));
  }
  // answer: grab's answer options, which the host's save panel stands in for when there are none.
  bool Start(const std::string& answer = "--kind html --to \"$PH_HOST_DIR/out/board.htm\"") {
    rig = ExtensionRig::Start(GetParam(), Quoted(PH_GRAB_PROGRAM) + " -q --data-dir \"$PH_HOST_DIR/data\" " + answer +
                                              " host");
    EXPECT_EQ(rig->error(), "");
    fs::create_directories(rig->folder() + "/out");
    return rig->error().empty();
  }
  std::string Data(const std::string& name) const { return ReadWholeFile(rig->folder() + "/data/" + name); }
  // grab itself picks the paths on the page (rendered by the browser, as the extension sees it).
  bool GrabPick(const std::string& data, const std::string& url, const std::vector<std::string>& paths) {
    std::string line = Quoted(PH_GRAB_PROGRAM) + " -q --browser --data-dir " + Quoted(data) + " pick " + Quoted(url);
    for (const std::string& path : paths) line += " " + Quoted(path);
    line += " --kind html --to " + Quoted(data + "/picked.htm") + " >/dev/null 2>&1";
    return std::system(line.c_str()) == 0;
  }
  std::string Style(const std::string& element) { return rig->Page(element + ".getAttribute('style')").dump(); }
  // Runs a command of pageHarvest on the tab and returns its answer. A command carries a whole page
  // through the host (grab under the sanitizers), so it gets longer than a plain call on a busy machine.
  WorkerAnswer Command(const char* name, long tab) {
    return rig->Worker(std::string("pageHarvest.") + name + "(" + std::to_string(tab) + ")", std::chrono::seconds(90));
  }
  std::string Badge(long tab) {
    return rig->Worker("chrome.action.getBadgeText({tabId: " + std::to_string(tab) + "})").value.get<std::string>();
  }
  // The tab's layout has been looked up and is known.
  bool Known(long tab) {
    return rig->WaitUntil([&] { return Badge(tab) == "\xe2\x9c\x93"; });
  }
  // The host processes the browser started, in order.
  std::vector<pid_t> Launches() const {
    std::vector<pid_t> pids;
    std::istringstream lines(ReadWholeFile(rig->folder() + "/launches"));
    for (pid_t pid; lines >> pid;) pids.push_back(pid);
    return pids;
  }

  LoopbackHttpServer server;
  std::unique_ptr<ExtensionRig> rig;
};

// grab's side of messages in pieces, which is the same whichever browser sends them; the pieces' way
// through each browser is FakeHost's test.
class GrabHostInChromium : public GrabHost {};

TEST_P(GrabHost, MousePicksInAPageAndItsFrameAndLearnsWhatGrabPickLearns) {
  ASSERT_TRUE(Start());
  const std::string url = server.Url("/board.html");
  const long tab = rig->OpenTab(url);
  ASSERT_GE(tab, 0);
  const WorkerAnswer started = Command("fineSelection", tab);
  ASSERT_EQ(started.error, "");
  ASSERT_EQ(started.value.value("type", ""), "selecting");

  // Hovering highlights; moving on gives the element the background it declared back.
  rig->Hover(PointIn(ById("news")));
  ASSERT_TRUE(rig->WaitUntil([&] { return Style(ById("news")).find(kHighlight) != std::string::npos; }));
  rig->Hover(PointIn(ById("prices")));
  ASSERT_TRUE(rig->WaitUntil([&] { return Style(ById("prices")).find(kHighlight) != std::string::npos; }));
  EXPECT_EQ(Style(ById("news")), "\"color: #333; background-color: #eef;\"");

  rig->Click(kShift);
  rig->Hover(PointIn(InFrame("side", "tip")));
  ASSERT_TRUE(rig->WaitUntil([&] { return Style(InFrame("side", "tip")).find(kHighlight) != std::string::npos; }));
  rig->Click(kShift);
  rig->Hover(PointIn(ById("news")));
  ASSERT_TRUE(rig->WaitUntil([&] { return Style(ById("news")).find(kHighlight) != std::string::npos; }));
  rig->Click(kCtrl);
  // The click ended the selection; finishing it says how it ended.
  ASSERT_TRUE(rig->WaitUntil([&] { return fs::exists(rig->folder() + "/out/board.htm"); }));
  const WorkerAnswer done = Command("finishSelection", tab);
  ASSERT_EQ(done.error, "");
  EXPECT_EQ(done.value.value("outcome", ""), "saved") << done.value.dump();
  EXPECT_GT(done.value.value("layout", 0), 0);
  const std::string saved = ReadWholeFile(rig->folder() + "/out/board.htm");
  // The HTML file has the tag names as the engine reads them, upper case.
  for (const char* text : {"Apples <I>1.20</I>", "Tip: <I>wrap</I>", "News: <B>frost</B>"})
    EXPECT_NE(saved.find(text), std::string::npos) << text;
  EXPECT_EQ(Style(ById("news")), "\"color: #333; background-color: #eef;\"");

  const std::string picked = rig->folder() + "/picked";
  ASSERT_TRUE(GrabPick(picked, url, {"frame[0]/TABLE[0]/TBODY[0]/TR[0]/TD[0]", "frame[1]/DIV[0]", "frame[0]/DIV[0]"}));
  for (const char* file : kDataFiles) {
    EXPECT_FALSE(Data(file).empty()) << file;
    EXPECT_EQ(Data(file), ReadWholeFile(picked + "/" + file)) << file;
  }
}

TEST_P(GrabHost, ModifierClicksCutOutAndRemoveTablesAndThePopupFinishes) {
  ASSERT_TRUE(Start());
  const long tab = rig->OpenTab(server.Url("/board.html"));
  ASSERT_GE(tab, 0);
  ASSERT_EQ(Command("startSelection", tab).error, "");
  const std::pair<const char*, int> clicks[] = {
      {"sidebar", kShift}, {"notes", kShift}, {"ad", kAlt}, {"sidebar", kCtrl | kAlt}};
  for (const auto& [id, modifiers] : clicks) {
    rig->Hover(PointIn(ById(id)));
    ASSERT_TRUE(rig->WaitUntil([&] { return Style(ById(id)).find(kHighlight) != std::string::npos; })) << id;
    rig->Click(modifiers);
  }
  // The tables are gone from the page itself once their region is told to drop them.
  ASSERT_TRUE(rig->WaitUntil([&] { return rig->Page(ById("sidebar") + ".getElementsByTagName('table').length") == 0; }));
  const WorkerAnswer done = Command("finishSelection", tab);
  ASSERT_EQ(done.error, "");
  EXPECT_EQ(done.value.value("outcome", ""), "saved") << done.value.dump();
  const std::string saved = ReadWholeFile(rig->folder() + "/out/board.htm");
  EXPECT_NE(saved.find("Keep this line."), std::string::npos);
  EXPECT_NE(saved.find("pick the late apples last"), std::string::npos);
  EXPECT_EQ(saved.find("Old table"), std::string::npos);
  EXPECT_EQ(saved.find("Advert"), std::string::npos);
}

TEST_P(GrabHost, QuickSaveOnTheNextPageOfALearnedLayout) {
  std::string second = ReadPage("selection_board.html");
  second.replace(second.find("<b>frost</b>"), 12, "<b>rain</b>");
  second.replace(second.find("<title>Orchard board"), 20, "<title>Orchard board two");
  server.Serve("/board2.html", Html(second));
  ASSERT_TRUE(Start());
  ASSERT_TRUE(GrabPick(rig->folder() + "/data", server.Url("/board.html"), {"frame[0]/DIV[0]"}));
  const long tab = rig->OpenTab(server.Url("/board2.html"));
  ASSERT_GE(tab, 0);
  // The page's host has layouts, and this page's layout is the one learned.
  ASSERT_TRUE(Known(tab));
  const WorkerAnswer done = Command("quickSave", tab);
  ASSERT_EQ(done.error, "");
  EXPECT_EQ(done.value.value("outcome", ""), "saved") << done.value.dump();
  // In the folder of the layout's first file, named after the page's title and the time.
  std::string saved;
  for (const auto& entry : fs::directory_iterator(rig->folder() + "/data"))
    if (entry.path().filename().string().rfind("Orchard board two", 0) == 0) saved = ReadWholeFile(entry.path());
  EXPECT_NE(saved.find("News: <B>rain</B>"), std::string::npos) << done.value.dump();
}

TEST_P(GrabHost, OnlyPagesOfHostsWithLayoutsAreShownToTheHost) {
  ASSERT_TRUE(Start());
  const std::string url = server.Url("/board.html");
  ASSERT_TRUE(GrabPick(rig->folder() + "/data", url, {"frame[0]/DIV[0]"}));
  // The same page under another host name, which has no layouts.
  const long other = rig->OpenTab("http://localhost" + url.substr(url.rfind(':')));
  const long known = rig->OpenTab(url);
  ASSERT_GE(other, 0);
  ASSERT_GE(known, 0);
  ASSERT_TRUE(Known(known));
  EXPECT_EQ(Badge(other), "");
  EXPECT_EQ(Launches().size(), 2u);  // the hosts with layouts, and the state of the known page
}

TEST_P(GrabHost, PageWithAStrictContentSecurityPolicy) {
  const std::string page =
      "<!DOCTYPE html><html><head><title>Strict</title><script src=\"/strict.js\"></script></head>"
      "<body><div id=\"story\">A story on a page that allows no script but its own.</div></body></html>";
  HttpResponse strict;
  strict.raw = "HTTP/1.1 200 OK\r\nContent-Type: text/html; charset=utf-8\r\nContent-Security-Policy: script-src 'self'\r\n"
               "Content-Length: " + std::to_string(page.size()) + "\r\nConnection: close\r\n\r\n" + page;
  server.Serve("/strict.html", strict);
  server.Serve("/strict.js", {200, "text/javascript", "document.title += ' page';"});
  ASSERT_TRUE(Start());
  const long tab = rig->OpenTab(server.Url("/strict.html"));
  ASSERT_GE(tab, 0);
  ASSERT_EQ(Command("startSelection", tab).error, "");
  rig->Hover(PointIn(ById("story")));
  ASSERT_TRUE(rig->WaitUntil([&] { return Style(ById("story")).find(kHighlight) != std::string::npos; }));
  rig->Click(kCtrl);
  ASSERT_TRUE(rig->WaitUntil([&] { return fs::exists(rig->folder() + "/out/board.htm"); }));
  EXPECT_EQ(Command("finishSelection", tab).value.value("outcome", ""), "saved");
  EXPECT_NE(ReadWholeFile(rig->folder() + "/out/board.htm").find("allows no script but its own"), std::string::npos);
}

TEST_P(GrabHost, NavigationDuringSelectionKeepsNothing) {
  server.Serve("/other.html", Html("<!DOCTYPE html><title>Other</title><p>Elsewhere"));
  ASSERT_TRUE(Start());
  const long tab = rig->OpenTab(server.Url("/board.html"));
  ASSERT_GE(tab, 0);
  ASSERT_EQ(Command("startSelection", tab).error, "");
  rig->Hover(PointIn(ById("news")));
  rig->Click(kShift);
  rig->Page("location.href = '/other.html'");
  ASSERT_TRUE(rig->WaitUntil([&] {
    return rig->Worker("chrome.tabs.get(" + std::to_string(tab) + ").then(t => t.status + ' ' + t.url)").value ==
           "complete " + server.Url("/other.html");
  }));
  const WorkerAnswer done = Command("finishSelection", tab);
  ASSERT_EQ(done.error, "");
  EXPECT_EQ(done.value.value("outcome", ""), "closed");
  for (const char* file : kDataFiles) EXPECT_FALSE(fs::exists(rig->folder() + "/data/" + file)) << file;
  EXPECT_FALSE(fs::exists(rig->folder() + "/out/board.htm"));
}

TEST_P(GrabHostInChromium, ContentOverOneMebibyteIsSavedWhole) {
  std::string story;
  for (int i = 0; story.size() < 1536 * 1024; ++i)
    story += "Paragraph " + std::to_string(i) + " of the long story, caf\xc3\xa9. ";
  server.Serve("/long.html", Html("<!DOCTYPE html><html><head><title>Long</title></head><body><div id=\"menu\">Home</div>"
                                  "<div id=\"story\">" + story + "</div></body></html>"));
  ASSERT_TRUE(Start());
  const long tab = rig->OpenTab(server.Url("/long.html"));
  ASSERT_GE(tab, 0);
  const WorkerAnswer done = Command("autoSelection", tab);
  ASSERT_EQ(done.error, "");
  EXPECT_EQ(done.value.value("outcome", ""), "saved") << done.value.dump();
  EXPECT_NE(ReadWholeFile(rig->folder() + "/out/board.htm").find(story), std::string::npos);
}

TEST_P(GrabHost, HostKilledDuringSelectionIsToldInThePageAndLeavesTheDataFilesWhole) {
  ASSERT_TRUE(Start());
  const std::string url = server.Url("/board.html");
  ASSERT_TRUE(GrabPick(rig->folder() + "/data", url, {"frame[0]/DIV[0]"}));
  std::vector<std::string> before;
  for (const char* file : kDataFiles) before.push_back(Data(file));
  const long tab = rig->OpenTab(url);
  ASSERT_GE(tab, 0);
  ASSERT_TRUE(Known(tab));
  ASSERT_EQ(Command("startSelection", tab).error, "");
  rig->Hover(PointIn(ById("prices")));
  rig->Click(kShift);
  ASSERT_TRUE(rig->WaitUntil([&] { return rig->PageShows("1 region picked"); }));
  ASSERT_EQ(::kill(Launches().back(), SIGKILL), 0);

  // Chromium's reason depends on when it sees the host go ("Native host has exited.", or an error
  // of the connection); ours is around it.
  const WorkerAnswer done = Command("finishSelection", tab);
  EXPECT_NE(done.error.find("The PageHarvest host stopped: "), std::string::npos) << done.error;
  EXPECT_NE(done.error.find("Nothing was saved."), std::string::npos) << done.error;
  EXPECT_TRUE(rig->WaitUntil([&] { return rig->PageShows("The PageHarvest host stopped: "); }));
  for (std::size_t i = 0; i < std::size(kDataFiles); ++i) EXPECT_EQ(Data(kDataFiles[i]), before[i]) << kDataFiles[i];
}

TEST_P(GrabHost, WithoutAnAnswerTheSavePanelAsksWhereTheContentGoes) {
  ASSERT_TRUE(Start(""));
  const long tab = rig->OpenTab(server.Url("/board.html"));
  ASSERT_GE(tab, 0);
  const std::string id = std::to_string(tab);
  ASSERT_EQ(Command("startSelection", tab).error, "");
  rig->Hover(PointIn(ById("news")));
  rig->Click(kShift);
  ASSERT_TRUE(rig->WaitUntil([&] { return rig->PageShows("1 region picked"); }));
  // Finished from the popup; the host asks, and waits for the panel's answer.
  rig->Worker("void (globalThis.finished = pageHarvest.finishSelection(" + id + "))");
  ASSERT_TRUE(rig->WaitUntil([&] { return rig->PageShows("Save \xe2\x80\x9cOrchard board\xe2\x80\x9d"); }));
  const std::string file = rig->folder() + "/out/answered.htm";
  rig->Type(file);
  rig->Key("Enter", "Enter", 13);
  const WorkerAnswer done = rig->Worker("globalThis.finished");
  ASSERT_EQ(done.error, "");
  EXPECT_EQ(done.value.value("outcome", ""), "saved") << done.value.dump();
  EXPECT_NE(ReadWholeFile(file).find("News: <B>frost</B>"), std::string::npos);
  EXPECT_FALSE(rig->PageShows("Save \xe2\x80\x9cOrchard board\xe2\x80\x9d"));
}

TEST_P(GrabHost, TabsThePageOpensWhileSelectingAreClosed) {
  server.Serve("/opener.html", Html("<!DOCTYPE html><title>Opener</title><div id=opener>Opens a tab when pressed</div>"
                                    "<script src=opener.js></script>"));
  server.Serve("/opener.js", {200, "text/javascript",
                              "document.getElementById('opener').addEventListener('mousedown', () => {"
                              " window.popped = window.open('/opened.html'); });"});
  ASSERT_TRUE(Start());
  const long tab = rig->OpenTab(server.Url("/opener.html"));
  ASSERT_GE(tab, 0);
  ASSERT_EQ(Command("startSelection", tab).error, "");
  rig->Hover(PointIn(ById("opener")));
  rig->Click(0);
  ASSERT_TRUE(rig->WaitUntil([&] { return rig->Page("Boolean(window.popped)") == true; }));
  EXPECT_TRUE(rig->WaitUntil([&] { return rig->Page("window.popped.closed") == true; }));
}

INSTANTIATE_TEST_SUITE_P(Browsers, GrabHost, ::testing::Values(Browser::kChromium, Browser::kFirefox),
                         [](const ::testing::TestParamInfo<Browser>& info) { return BrowserName(info.param); });
INSTANTIATE_TEST_SUITE_P(Browsers, GrabHostInChromium, ::testing::Values(Browser::kChromium),
                         [](const ::testing::TestParamInfo<Browser>& info) { return BrowserName(info.param); });

}  // namespace
}  // namespace ph::test
