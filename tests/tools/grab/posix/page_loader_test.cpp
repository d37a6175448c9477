// Pages and their frames over loopback: what a page may pull in through its frames, and how much.
#include "tools/grab/page_loader.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>

#include <chrono>
#include <fstream>

#include "band/engine/document.h"
#include "common/utf8.h"
#include "platform/fetch.h"
#include "platform/url.h"
#include "tests/support/loopback_http_server.h"
#include "tests/support/loopback_socket.h"
#include "tests/support/test_paths.h"

namespace ph::grab {
namespace {

// A loopback port that never takes a connection: its queue holds one and is filled, so later
// connection attempts go unanswered, as they do to a host that is down.
class UnansweredPort {
 public:
  UnansweredPort() {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    const auto* any = reinterpret_cast<sockaddr*>(&address);
    if (::bind(listener_.get(), any, length) != 0 || ::listen(listener_.get(), 0) != 0 ||
        ::getsockname(listener_.get(), reinterpret_cast<sockaddr*>(&address), &length) != 0)
      return;
    port_ = ntohs(address.sin_port);
    for (test::UniqueSocket& filler : fillers_) {
      filler = test::UniqueSocket(::socket(AF_INET, SOCK_STREAM, 0));
      ::fcntl(static_cast<int>(filler.get()), F_SETFL, O_NONBLOCK);
      ::connect(static_cast<int>(filler.get()), any, length);
    }
  }
  int port() const { return port_; }

 private:
  test::UniqueSocket listener_{::socket(AF_INET, SOCK_STREAM, 0)};
  test::UniqueSocket fillers_[2];
  int port_ = 0;
};

class PageLoading : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(server_.ok()); }
  std::shared_ptr<MemoryDocument> Load(const std::string& page) {
    std::string error;
    return loader_.Load(page, &error);
  }
  // The text of the document and of every frame document under it, at any depth. A frame that was
  // not loaded is still a document of the page, an empty one.
  static std::string AllText(const DocumentPtr& document) {
    ElementPtr body = document->Body();
    std::string text = body ? Utf16ToUtf8(body->InnerText().value_or(u"")) : "";
    for (const DocumentPtr& frame : document->FrameDocuments()) text += "|" + AllText(frame);
    return text;
  }

  test::LoopbackHttpServer server_;
  std::string scratch_ = test::MakeScratchDir("loader");
  std::unique_ptr<Fetcher> fetcher_ = MakeSystemFetcher();
  std::unique_ptr<UrlPort> urls_ = MakeSystemUrlPort();
  PageLoader loader_{*fetcher_, *urls_};
};

TEST_F(PageLoading, AWebPageCannotFrameALocalFileButALocalPageCan) {
  const std::string secret = scratch_ + "/secret.html";
  std::ofstream(secret) << "<p>private notes</p>";
  const std::string frame = "<iframe src=\"file://" + secret + "\"></iframe>";
  server_.Serve("/page.html", {200, "text/html", "<p>page</p>" + frame});
  const auto web = Load(server_.Url("/page.html"));
  ASSERT_NE(web, nullptr);
  EXPECT_EQ(AllText(web).find("private notes"), std::string::npos);

  const std::string local = scratch_ + "/local.html";
  std::ofstream(local) << "<p>local</p>" << frame;
  const auto file = Load(local);
  ASSERT_NE(file, nullptr);
  EXPECT_NE(AllText(file).find("private notes"), std::string::npos);
}

TEST_F(PageLoading, APageThatFramesItselfOverAndOverLoadsABoundedNumberOfFrames) {
  std::string page = "<p>again</p>";
  for (int i = 0; i < 2; ++i) page += "<iframe src=\"/self.html\"></iframe>";
  server_.Serve("/self.html", {200, "text/html", page});
  const auto document = Load(server_.Url("/self.html"));
  ASSERT_NE(document, nullptr);
  EXPECT_EQ(server_.Requests().size(), PageLoader::kMaxFrameDocuments + 1);
}

TEST_F(PageLoading, FramesOnAHostThatDoesNotAnswerAreGivenUpSoonAndHoldEmptyDocuments) {
  UnansweredPort host;
  ASSERT_NE(host.port(), 0);
  const std::string page = scratch_ + "/frames.html";
  std::ofstream file(page);
  file << "<p>page</p>";
  for (int i = 0; i < 3; ++i) file << "<iframe src=\"http://127.0.0.1:" << host.port() << "/f" << i << "\"></iframe>";
  file.close();
  const auto start = std::chrono::steady_clock::now();
  const auto document = Load(page);
  ASSERT_NE(document, nullptr);
  // Bound to the whole transfer's minute alone, these frames would hold the page far longer.
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(20));
  EXPECT_EQ(AllText(document), "page|||");
}

TEST_F(PageLoading, WithoutFramesAFrameHoldsAnEmptyDocumentAndIsNotFetched) {
  server_.Serve("/page.html", {200, "text/html", "<p>page</p><iframe src=\"/frame.html\"></iframe>"});
  server_.Serve("/frame.html", {200, "text/html", "<p>frame</p>"});
  loader_.SkipFrames(true);
  const auto document = Load(server_.Url("/page.html"));
  ASSERT_NE(document, nullptr);
  EXPECT_EQ(AllText(document), "page|");
  EXPECT_EQ(server_.Requests(), std::vector<std::string>{"/page.html"});
}

}  // namespace
}  // namespace ph::grab
