// Messages of more than 1 MiB between the extension and a host that sends one (grab does not), in headless Chromium and Firefox.
#include <sstream>

#include <gtest/gtest.h>

#include "tests/extension/extension_rig.h"
#include "tests/support/loopback_http_server.h"
#include "tests/support/test_paths.h"

namespace ph::test {
namespace {

constexpr long kMaxMessage = 1024 * 1024;

class FakeHost : public ::testing::TestWithParam<Browser> {};

TEST_P(FakeHost, ContentOverOneMebibyteCrossesInPiecesBothWays) {
  if (!BrowserInstalled(GetParam())) GTEST_SKIP() << BrowserName(GetParam()) << " is not installed";
  // Quotes, backslashes, two- three- and four-byte characters, so that slices fall among all of them.
  std::string big;
  while (big.size() < 3 * kMaxMessage / 2) big += "\"Na\\ve\" caf\xc3\xa9 \xe2\x82\xac" "5 \xf0\x9f\x8d\x8e <b>x</b> ";
  LoopbackHttpServer server;
  server.Serve("/big.html", {200, "text/html; charset=utf-8", "<!DOCTYPE html><title>Big</title><body><p>" + big});
  const auto started = ExtensionRig::Start(GetParam(), "python3 '" + SourceDir() + "/tests/extension/fake_host.py'");
  ExtensionRig& rig = *started;
  ASSERT_EQ(rig.error(), "");
  const long tab = rig.OpenTab(server.Url("/big.html"));
  ASSERT_GE(tab, 0);
  const WorkerAnswer done = rig.Worker("pageHarvest.quickSave(" + std::to_string(tab) + ")");
  ASSERT_EQ(done.error, "");
  EXPECT_EQ(done.value.value("outcome", ""), "saved");

  // The host wrote the page's content back into it with a paragraph more, and read it again: whole.
  EXPECT_EQ(ReadWholeFile(rig.folder() + "/out.html"), "<body><p>" + big + "</p><p id=\"echoed\">again</p></body>");
  long largest = 0, split = 0;
  std::istringstream log(ReadWholeFile(rig.folder() + "/log.jsonl"));
  for (std::string line; std::getline(log, line);) {
    const Json entry = Json::parse(line);
    largest = std::max(largest, entry.value("bytes", 0L));
    split += entry.value("type", "") == "piece" && entry.value("part", -1) == 0;
  }
  EXPECT_LE(largest, kMaxMessage);
  EXPECT_EQ(split, 2);  // the two answers of markup
}

INSTANTIATE_TEST_SUITE_P(Browsers, FakeHost, ::testing::Values(Browser::kChromium, Browser::kFirefox),
                         [](const ::testing::TestParamInfo<Browser>& info) { return BrowserName(info.param); });

}  // namespace
}  // namespace ph::test
