// The extension's road between the page and the native host, in headless Chromium, against a host that plays its part from a script.
#include <fstream>
#include <sstream>

#include <gtest/gtest.h>

#include "tests/extension/extension_rig.h"
#include "tests/support/loopback_http_server.h"
#include "tests/support/test_paths.h"

namespace ph::test {
namespace {

using namespace std::chrono_literals;

constexpr long kMaxMessage = 1024 * 1024;

std::string ReadPage(const std::string& name) { return ReadWholeFile(SourceDir() + "/tests/pages/" + name); }

HttpResponse Html(std::string body) { return {200, "text/html; charset=utf-8", std::move(body)}; }

// The fake host in the rig's folder, with its part (mode.json) written before the browser starts it.
class FakeHost : public ::testing::Test {
 protected:
  void SetUp() override {
    if (cdp::FindProgram("chromium").empty()) GTEST_SKIP() << "chromium is not installed";
    ASSERT_TRUE(server.ok());
  }
  bool Start(const Json& mode) {
    rig = std::make_unique<ExtensionRig>("python3 '" + SourceDir() + "/tests/extension/fake_host.py'");
    std::ofstream(rig->folder() + "/mode.json") << mode.dump();
    EXPECT_EQ(rig->error(), "");
    return rig->error().empty();
  }
  // Every message the host read, as it logged them.
  std::vector<Json> Log() const {
    std::vector<Json> entries;
    std::istringstream lines(ReadWholeFile(rig->folder() + "/log.jsonl"));
    for (std::string line; std::getline(lines, line);) entries.push_back(Json::parse(line));
    return entries;
  }
  // The messages the host read of one type (the payload's type for reports).
  std::vector<Json> Got(const std::string& type) const {
    std::vector<Json> found;
    for (const Json& entry : Log()) {
      const Json message = entry.value("got", Json::object());
      const std::string kind = message.value("type", "");
      if (kind == type || (kind == "report" && message["payload"].value("type", "") == type)) found.push_back(message);
    }
    return found;
  }
  std::string Saved() const { return ReadWholeFile(rig->folder() + "/out.html"); }

  LoopbackHttpServer server;
  std::unique_ptr<ExtensionRig> rig;
};

TEST_F(FakeHost, SelectionReachesFramesByTheirIdsAndEndsWithTheHostsDone) {
  server.Serve("/board.html", Html(ReadPage("selection_board.html")));
  server.Serve("/board_frame.html", Html(ReadPage("board_frame.html")));
  ASSERT_TRUE(Start({{"hosts", Json::array()}}));
  const long tab = rig->OpenTab(server.Url("/board.html"));
  ASSERT_GE(tab, 0);
  const std::string id = std::to_string(tab);
  const WorkerAnswer started = rig->Worker("pageHarvest.startSelection(" + id + ")");
  ASSERT_EQ(started.error, "");
  EXPECT_EQ(started.value.value("type", ""), "selecting");

  // A region in the frame: the host reached the frame's helper through the id of its frame element,
  // and the frame's reports name that frame.
  rig->Hover(PointIn("document.getElementById('side').contentDocument.getElementById('tip')"));
  ASSERT_TRUE(rig->WaitUntil([&] { return !Got("hover").empty(); }));
  const Json hover = Got("hover").back();
  EXPECT_GT(hover.value("frame", 0), 0);
  EXPECT_EQ(hover["payload"]["target"][1], "DIV");
  rig->Click(kCtrl);
  ASSERT_TRUE(rig->WaitUntil([&] { return !Saved().empty(); }));
  EXPECT_EQ(Saved(), "<div id=\"tip\">Tip: <i>wrap</i> each apple in paper.</div>");

  // The selection ended by the click: finishing it says how it ended.
  const WorkerAnswer finished = rig->Worker("pageHarvest.finishSelection(" + id + ")");
  ASSERT_EQ(finished.error, "");
  EXPECT_EQ(finished.value.value("outcome", ""), "saved");
}

TEST_F(FakeHost, ContentOverOneMebibyteCrossesInPiecesBothWays) {
  // Quotes, backslashes, two- three- and four-byte characters, so that slices fall among all of them.
  std::string big;
  while (big.size() < 3 * kMaxMessage / 2) big += "\"Na\\ve\" caf\xc3\xa9 \xe2\x82\xac" "5 \xf0\x9f\x8d\x8e <b>x</b> ";
  server.Serve("/big.html", Html("<!DOCTYPE html><html><head><title>Big</title></head><body><p>" + big + "</p></body></html>"));
  ASSERT_TRUE(Start({{"echo", true}}));
  const long tab = rig->OpenTab(server.Url("/big.html"));
  ASSERT_GE(tab, 0);
  const WorkerAnswer done = rig->Worker("pageHarvest.quickSave(" + std::to_string(tab) + ")");
  ASSERT_EQ(done.error, "");
  EXPECT_EQ(done.value.value("outcome", ""), "saved");

  // What the host read back after writing the page's content into it: whole, both ways.
  EXPECT_EQ(Saved(), "<body><p>" + big + "</p><p id=\"echoed\">again</p></body>");
  long largest = 0, pieces = 0;
  for (const Json& entry : Log()) largest = std::max(largest, entry.value("bytes", 0L));
  for (const Json& entry : Log()) pieces += entry.value("type", "") == "piece" && entry.value("part", -1) == 0;
  EXPECT_LE(largest, kMaxMessage);
  EXPECT_GE(pieces, 2);
}

TEST_F(FakeHost, NavigationDuringSelectionTellsTheHostThePageIsGone) {
  server.Serve("/board.html", Html(ReadPage("selection_board.html")));
  server.Serve("/other.html", Html("<!DOCTYPE html><title>Other</title><p>Elsewhere"));
  ASSERT_TRUE(Start({{"hosts", Json::array()}}));
  const long tab = rig->OpenTab(server.Url("/board.html"));
  ASSERT_GE(tab, 0);
  const std::string id = std::to_string(tab);
  ASSERT_EQ(rig->Worker("pageHarvest.startSelection(" + id + ")").error, "");
  rig->Page("location.href = '/other.html'");
  ASSERT_TRUE(rig->WaitUntil([&] { return !Got("gone").empty(); }));
  const WorkerAnswer finished = rig->Worker("pageHarvest.finishSelection(" + id + ")");
  ASSERT_EQ(finished.error, "");
  EXPECT_EQ(finished.value.value("outcome", ""), "closed");
  EXPECT_EQ(Saved(), "");
}

TEST_F(FakeHost, HostThatDiesIsToldInThePageAndFailsTheCommand) {
  server.Serve("/board.html", Html(ReadPage("selection_board.html")));
  ASSERT_TRUE(Start({{"die", "selecting"}}));
  const long tab = rig->OpenTab(server.Url("/board.html"));
  ASSERT_GE(tab, 0);
  const std::string id = std::to_string(tab);
  rig->Worker("pageHarvest.startSelection(" + id + ")");
  const WorkerAnswer finished = rig->Worker("pageHarvest.finishSelection(" + id + ")");
  EXPECT_NE(finished.error.find("The PageHarvest host stopped: Native host has exited. Nothing was saved."), std::string::npos)
      << finished.error;
  EXPECT_TRUE(rig->WaitUntil([&] { return rig->PageShows("The PageHarvest host stopped: Native host has exited."); }));
}

TEST_F(FakeHost, SavePanelAnswersTheHostsQuestion) {
  server.Serve("/board.html", Html(ReadPage("selection_board.html")));
  ASSERT_TRUE(Start({{"hosts", Json::array()}}));
  const long tab = rig->OpenTab(server.Url("/board.html"));
  ASSERT_GE(tab, 0);
  const std::string id = std::to_string(tab);
  ASSERT_EQ(rig->Worker("pageHarvest.startSelection(" + id + ")").error, "");
  // Finished from the popup: the host asks where to save, and waits.
  rig->Worker("void (globalThis.finished = pageHarvest.finishSelection(" + id + "))");
  ASSERT_TRUE(rig->WaitUntil([&] { return rig->PageShows("Save \xe2\x80\x9cOrchard board\xe2\x80\x9d"); }));
  rig->Type("/tmp/clips/board.htm");
  rig->Key("Enter", "Enter", 13);
  const WorkerAnswer finished = rig->Worker("globalThis.finished");
  ASSERT_EQ(finished.error, "");
  EXPECT_EQ(finished.value.value("outcome", ""), "saved");
  EXPECT_EQ(Json::parse(finished.value.value("text", "null")),
            Json({{"kind", "html"}, {"file", "/tmp/clips/board.htm"}, {"append", false}}));
  EXPECT_FALSE(rig->PageShows("Orchard board\xe2\x80\x9d"));
}

TEST_F(FakeHost, OnlyPagesOnHostsWithLayoutsAreShownToTheHost) {
  server.Serve("/known.html", Html("<!DOCTYPE html><title>Known</title><p>A page of a known layout"));
  server.Serve("/other.html", Html("<!DOCTYPE html><title>Other</title><p>A page of an unknown host"));
  ASSERT_TRUE(Start({{"hosts", {"localhost"}}}));
  const std::string known = server.Url("/known.html");
  const long other_tab = rig->OpenTab(server.Url("/other.html"));
  const long known_tab = rig->OpenTab("http://localhost" + known.substr(known.find(':', 5)));
  ASSERT_GE(other_tab, 0);
  ASSERT_GE(known_tab, 0);
  auto badge = [&](long tab) { return rig->Worker("chrome.action.getBadgeText({tabId: " + std::to_string(tab) + "})").value; };
  ASSERT_TRUE(rig->WaitUntil([&] { return badge(known_tab) == "\xe2\x9c\x93"; }));
  EXPECT_EQ(badge(other_tab), "");
  std::vector<std::string> opened;
  for (const Json& open : Got("open")) opened.push_back(open.value("command", "") + " " + open.value("url", ""));
  EXPECT_EQ(opened, (std::vector<std::string>{"hosts ", "state http://localhost" + known.substr(known.find(':', 5))}));
}

TEST_F(FakeHost, TabsThePageOpensWhileSelectingWithoutHyperlinksAreClosed) {
  server.Serve("/opener.html", Html("<!DOCTYPE html><title>Opener</title><div id=opener>Opens a tab when pressed</div>"
                                    "<script src=opener.js></script>"));
  server.Serve("/opener.js", {200, "text/javascript",
                              "document.getElementById('opener').addEventListener('mousedown', () => {"
                              " window.popped = window.open('/opened.html'); });"});
  ASSERT_TRUE(Start({{"hosts", Json::array()}}));
  const long tab = rig->OpenTab(server.Url("/opener.html"));
  ASSERT_GE(tab, 0);
  ASSERT_EQ(rig->Worker("pageHarvest.startSelection(" + std::to_string(tab) + ")").error, "");
  rig->Hover(PointIn("document.getElementById('opener')"));
  rig->Click(0);
  ASSERT_TRUE(rig->WaitUntil([&] { return rig->Page("Boolean(window.popped)") == true; }));
  EXPECT_TRUE(rig->WaitUntil([&] { return rig->Page("window.popped.closed") == true; }));
}

}  // namespace
}  // namespace ph::test
