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
  // The whole messages the host read of one type.
  std::vector<Json> Got(const std::string& type) const {
    std::vector<Json> found;
    for (const Json& entry : Log())
      if (entry.value("got", Json::object()).value("type", "") == type) found.push_back(entry["got"]);
    return found;
  }
  std::string Saved() const { return ReadWholeFile(rig->folder() + "/out.html"); }

  LoopbackHttpServer server;
  std::unique_ptr<ExtensionRig> rig;
};

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

}  // namespace
}  // namespace ph::test
