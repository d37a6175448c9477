// The DevTools client against a peer that is a pair of pipes written and read by the test.
#include <unistd.h>

#include <string>

#include <gtest/gtest.h>

#include "band/cdp/posix/chromium_process.h"
#include "band/cdp/posix/devtools_client.h"

namespace ph::cdp {
namespace {

using namespace std::chrono_literals;

std::string Frame(const std::string& json) { return json + '\0'; }

// The browser's side of the two pipes: what it says is written before the client asks.
class FakeBrowser {
 public:
  FakeBrowser() {
    int to_client[2], from_client[2];
    EXPECT_EQ(::pipe(to_client), 0);
    EXPECT_EQ(::pipe(from_client), 0);
    says_ = to_client[1];
    hears_ = from_client[0];
    pipe_ = std::make_unique<DevToolsPipe>(UniqueFd(to_client[0]), UniqueFd(from_client[1]), &stop_);
    client_ = std::make_unique<DevToolsClient>(*pipe_);
  }
  ~FakeBrowser() {
    client_.reset();
    pipe_.reset();
    if (says_ >= 0) ::close(says_);
    ::close(hears_);
  }
  void Say(const std::string& bytes) { ASSERT_EQ(::write(says_, bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size())); }
  void HangUp() {
    ::close(says_);
    says_ = -1;
  }
  std::string Heard() {
    char buffer[4096];
    const ssize_t n = ::read(hears_, buffer, sizeof buffer);
    return n > 0 ? std::string(buffer, static_cast<std::size_t>(n)) : std::string();
  }
  DevToolsClient& client() { return *client_; }
  volatile std::sig_atomic_t stop_ = 0;

 private:
  int says_ = -1, hears_ = -1;
  std::unique_ptr<DevToolsPipe> pipe_;
  std::unique_ptr<DevToolsClient> client_;
};

TEST(MessageFramerTest, MessagesComeOutWholeHoweverTheBytesArrive) {
  MessageFramer framer(100);
  framer.Feed("{\"a\":");
  EXPECT_FALSE(framer.Next());
  framer.Feed(std::string("1}\0{\"b\":2}\0{\"c", 14));
  EXPECT_EQ(framer.Next(), "{\"a\":1}");
  EXPECT_EQ(framer.Next(), "{\"b\":2}");
  EXPECT_FALSE(framer.Next());
  EXPECT_THROW(framer.Feed(std::string(100, 'x')), DevToolsError);
}

TEST(DevToolsClientTest, ReplyIsFoundByIdPastEventsAndStaleReplies) {
  FakeBrowser browser;
  browser.Say(Frame("{\"method\":\"Page.loadEventFired\",\"sessionId\":\"S\",\"params\":{\"t\":1}}") +
              Frame("{\"id\":99,\"result\":{\"late\":true}}") +
              Frame("{\"id\":1,\"result\":{\"answer\":42}}"));
  const Json result = browser.client().Call("Page.navigate", {{"url", "http://x/"}}, "S", 2s);
  EXPECT_EQ(result.value("answer", 0), 42);

  const Json sent = Json::parse(browser.Heard().c_str());
  EXPECT_EQ(sent, Json::parse(R"({"id":1,"method":"Page.navigate","params":{"url":"http://x/"},"sessionId":"S"})"));

  const auto event = browser.client().WaitForEvent([](const Event& e) { return e.method == "Page.loadEventFired"; },
                                                   Clock::now() + 2s);
  ASSERT_TRUE(event);
  EXPECT_EQ(event->session_id, "S");
  EXPECT_EQ(event->params.value("t", 0), 1);
}

TEST(DevToolsClientTest, ErrorReplyCarriesTheBrowsersWords) {
  FakeBrowser browser;
  browser.Say(Frame("{\"id\":1,\"error\":{\"code\":-32000,\"message\":\"No target\"}}"));
  try {
    browser.client().Call("Target.attachToTarget", {}, {}, 2s);
    FAIL();
  } catch (const DevToolsError& e) {
    EXPECT_NE(std::string(e.what()).find("No target"), std::string::npos);
  }
}

TEST(DevToolsClientTest, SilentBrowserTimesOutAndClosedOneFails) {
  FakeBrowser browser;
  EXPECT_THROW(browser.client().Call("Browser.getVersion", {}, {}, 50ms), DevToolsError);
  EXPECT_FALSE(browser.client().WaitForEvent([](const Event&) { return true; }, Clock::now() + 50ms));
  browser.HangUp();
  EXPECT_THROW(browser.client().WaitForEvent([](const Event&) { return true; }, Clock::now() + 60s), DevToolsError);
}

TEST(ChromiumProcessTest, ABrowserThatEndsAtOnceIsSeenGoneNotWaitedFor) {
  // Our copies of the browser's pipe ends must be closed once it has them: otherwise its end never
  // reaches us and the start waits out its whole time.
  ChromiumOptions options;
  options.program = "/bin/true";
  options.start_timeout = 60s;
  std::string error;
  EXPECT_EQ(ChromiumProcess::Start(options, &error), nullptr);
  EXPECT_NE(error.find("the browser is gone"), std::string::npos) << error;
}

TEST(DevToolsClientTest, StopFlagEndsAWaitAtOnce) {
  FakeBrowser browser;
  browser.stop_ = 1;
  EXPECT_THROW(browser.client().Call("Browser.getVersion", {}, {}, 60s), DevToolsError);
}

}  // namespace
}  // namespace ph::cdp
