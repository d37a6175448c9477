// Pages and their frames over loopback: what a page may pull in through its frames, and how much.
#include "tools/grab/page_loader.h"

#include <gtest/gtest.h>

#include <fstream>

#include "band/engine/document.h"
#include "platform/code_page.h"
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
  // Every frame document under the document, at any depth.
  static std::size_t CountFrames(const DocumentPtr& document) {
    std::size_t n = 0;
    for (const DocumentPtr& frame : document->FrameDocuments()) n += 1 + CountFrames(frame);
    return n;
  }

  test::LoopbackHttpServer server_;
  std::string scratch_ = test::MakeScratchDir("loader");
  std::unique_ptr<Fetcher> fetcher_ = MakeSystemFetcher();
  std::unique_ptr<UrlPort> urls_ = MakeSystemUrlPort();
  Windows1252 code_page_;
  PageLoader loader_{*fetcher_, *urls_, code_page_, scratch_};
};

TEST_F(PageLoading, AWebPageCannotFrameALocalFileButALocalPageCan) {
  const std::string secret = scratch_ + "/secret.html";
  std::ofstream(secret) << "<p>private notes</p>";
  const std::string frame = "<iframe src=\"file://" + secret + "\"></iframe>";
  server_.Serve("/page.html", {200, "text/html", "<p>page</p>" + frame});
  const auto web = Load(server_.Url("/page.html"));
  ASSERT_NE(web, nullptr);
  EXPECT_EQ(CountFrames(web), 0u);

  const std::string local = scratch_ + "/local.html";
  std::ofstream(local) << "<p>local</p>" << frame;
  const auto file = Load(local);
  ASSERT_NE(file, nullptr);
  EXPECT_EQ(CountFrames(file), 1u);
}

TEST_F(PageLoading, APageThatFramesItselfOverAndOverLoadsABoundedNumberOfFrames) {
  std::string page = "<p>again</p>";
  for (int i = 0; i < 2; ++i) page += "<iframe src=\"/self.html\"></iframe>";
  server_.Serve("/self.html", {200, "text/html", page});
  const auto document = Load(server_.Url("/self.html"));
  ASSERT_NE(document, nullptr);
  EXPECT_LE(server_.Requests().size(), PageLoader::kMaxFrameDocuments + 1);
  EXPECT_EQ(CountFrames(document), PageLoader::kMaxFrameDocuments);
}

}  // namespace
}  // namespace ph::grab
