// Pages and their frames over loopback: what a page may pull in through its frames, and how much.
#include "tools/grab/page_loader.h"

#include <gtest/gtest.h>

#include <fstream>

#include "band/engine/document.h"
#include "common/utf8.h"
#include "platform/fetch.h"
#include "platform/url.h"
#include "tests/support/loopback_http_server.h"
#include "tests/support/test_paths.h"

namespace ph::grab {
namespace {

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
  PageLoader loader_{*fetcher_, *urls_, scratch_};
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

}  // namespace
}  // namespace ph::grab
