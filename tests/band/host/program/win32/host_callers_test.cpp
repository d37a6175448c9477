// Who may start PageHarvestHost.exe (the extension, as Chrome, Edge and Firefox pass it, and nobody else), and
// what it makes of bytes that are no message.
#include <windows.h>

#include <gtest/gtest.h>

#include "tests/band/host/program/win32/host_process.h"
#include "tests/support/test_paths.h"

namespace ph::test {
namespace {

constexpr char kExtension[] = "chrome-extension://alkfoobnckhimlcamnljecggfgppgdog/";
// Firefox passes the path of the host's manifest, then the extension's id.
constexpr char kFirefoxCaller[] = "C:\\PageHarvest\\org.pageharvest.host.firefox.json pageharvest@pageharvest.org";

class HostCallers : public ::testing::Test {
 protected:
  // Under Wine the first window of a session starts the desktop's process; without one each host
  // would start it anew.
  static void SetUpTestSuite() { ::GetDesktopWindow(); }
};

TEST_F(HostCallers, EveryCallerButTheExtensionIsRefusedWithALineOnStandardError) {
  for (const char* arguments : {"chrome-extension://bbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbb/ --parent-window=0",
                                "chrome-extension://alkfoobnckhimlcamnljecggfgppgdog",
                                "--parent-window=66 chrome-extension://alkfoobnckhimlcamnljecggfgppgdogx/",
                                "C:\\org.pageharvest.host.firefox.json other@pageharvest.org",
                                "pageharvest@pageharvest.org", ""}) {
    HostProcess host;
    ASSERT_TRUE(host.Start(WindowsPathOf(PH_HOST_EXE), arguments));
    EXPECT_EQ(host.WaitForExit(), 1) << arguments;
    EXPECT_NE(host.Errors().find("refused"), std::string::npos) << arguments << ": " << host.Errors();
    EXPECT_FALSE(host.Receive(0)) << arguments;
  }
}

TEST_F(HostCallers, TheExtensionIsServedAsChromeWithOrWithoutItsWindowAndAsFirefoxNameIt) {
  for (const std::string& arguments :
       {std::string(kExtension) + " --parent-window=1234", std::string(kExtension), std::string(kFirefoxCaller)}) {
    HostProcess host;
    ASSERT_TRUE(host.Start(WindowsPathOf(PH_HOST_EXE), arguments));
    ASSERT_TRUE(host.Send(R"({"type": "open", "tab": 3, "url": "http://site.test/", "command": "hosts"})"));
    EXPECT_EQ(host.Receive().value_or("(nothing)"), R"({"hosts":[],"type":"hosts"})") << arguments;
    EXPECT_EQ(host.WaitForExit(), 0) << arguments;
    EXPECT_EQ(host.Errors(), "") << arguments;
  }
}

// A length no message may have cannot be skipped: the extension hears why the host ends.
TEST_F(HostCallers, ALengthOverTheLimitIsAnsweredWithAnErrorAndEndsTheConnection) {
  HostProcess host;
  ASSERT_TRUE(host.Start(WindowsPathOf(PH_HOST_EXE), kExtension));
  ASSERT_TRUE(host.Write(std::string("\x00\x00\x00\x7f", 4)));  // 2 GiB
  const std::string answer = host.Receive().value_or("(nothing)");
  EXPECT_NE(answer.find(R"("type":"error")"), std::string::npos) << answer;
  EXPECT_NE(answer.find("over the limit"), std::string::npos) << answer;
  EXPECT_EQ(host.WaitForExit(), 1);
}

}  // namespace
}  // namespace ph::test
