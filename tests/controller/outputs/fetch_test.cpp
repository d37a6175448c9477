// Downloads from the loopback server: exact bytes, failures that leave nothing, time and size bounds.
#include "platform/fetch.h"

#include <sys/stat.h>

#include <chrono>
#include <filesystem>

#include "tests/controller/outputs/outputs_fixture.h"
#include "tests/support/loopback_http_server.h"

namespace ph {
namespace {

class Fetch : public test::OutputsTest {
 protected:
  void SetUp() override { ASSERT_TRUE(server_.ok()); }
  std::unique_ptr<Fetcher> bounded_ = MakeSystemFetcher(FetchLimits{1500, 64 * 1024});
  // The names in the scratch folder: a failed download must leave nothing of its own there.
  std::vector<std::string> Names() {
    std::vector<std::string> names;
    for (const auto& e : std::filesystem::directory_iterator(dir_)) names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
  }
  test::LoopbackHttpServer server_;
};

TEST_F(Fetch, CopiesTheBodyByteForByte) {
  std::string body;
  for (int i = 0; i < 20000; ++i) body += static_cast<char>(i * 7 % 256);
  body += "\r\n\r\r\n";
  server_.Serve("/bin/data.bin", {200, "application/octet-stream", body});
  ASSERT_TRUE(bounded_->Fetch(server_.Url("/bin/data.bin"), Path("data.bin")));
  EXPECT_EQ(ReadFile(Path("data.bin")), body);
  // Replaces what was there.
  server_.Serve("/bin/other.bin", {200, "text/plain", "short"});
  ASSERT_TRUE(bounded_->Fetch(server_.Url("/bin/other.bin"), Path("data.bin")));
  EXPECT_EQ(ReadFile(Path("data.bin")), "short");
}

TEST_F(Fetch, ErrorStatusIsAFailureAndKeepsTheOldFile) {
  WriteFile(Path("kept.gif"), "previous");
  EXPECT_FALSE(bounded_->Fetch(server_.Url("/missing.gif"), Path("kept.gif")));
  EXPECT_EQ(ReadFile(Path("kept.gif")), "previous");
  // Asked again, where a browser cache may hold the error page by now.
  EXPECT_FALSE(bounded_->Fetch(server_.Url("/missing.gif"), Path("new.gif")));
  EXPECT_EQ(Names(), std::vector<std::string>{"kept.gif"});
}

TEST_F(Fetch, ADownloadThatNeverEndsIsCutOffInTimeAndLeavesNothing) {
  server_.Serve("/slow", {200, "image/gif", "", true});
  const auto start = std::chrono::steady_clock::now();
  EXPECT_FALSE(bounded_->Fetch(server_.Url("/slow"), Path("slow.gif")));
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(20));
  EXPECT_TRUE(Names().empty());
}

TEST_F(Fetch, ACutOffDownloadOrAGarbledAnswerIsAFailureAndLeavesNothing) {
  server_.Serve("/cut.png", {200, "image/png", std::string(4000, 'p'), false, true});
  server_.Serve("/garbage.png", {200, "", "", false, false, "\x01\x02 not HTTP at all\r\n\r\nbody"});
  EXPECT_FALSE(bounded_->Fetch(server_.Url("/cut.png"), Path("cut.png")));
#ifndef _WIN32
  // Wine's WinINet takes such bytes for an answer with a body; curl does not.
  EXPECT_FALSE(bounded_->Fetch(server_.Url("/garbage.png"), Path("garbage.png")));
#endif
  EXPECT_TRUE(Names().empty());
}

TEST_F(Fetch, ADownloadOverTheSizeBoundIsRefused) {
  server_.Serve("/big", {200, "image/gif", std::string(64 * 1024 + 1, 'b')});
  server_.Serve("/fits", {200, "image/gif", std::string(64 * 1024, 'f')});
  EXPECT_FALSE(bounded_->Fetch(server_.Url("/big"), Path("big.gif")));
  EXPECT_TRUE(Names().empty());
  EXPECT_TRUE(bounded_->Fetch(server_.Url("/fits"), Path("fits.gif")));
  EXPECT_EQ(Names(), std::vector<std::string>{"fits.gif"});
}

TEST_F(Fetch, CopiesAskedTogetherLandEachInItsOwnFileAndAFetcherEndedMidwayLeavesNothing) {
  server_.Serve("/a.txt", {200, "text/plain", "first"});
  server_.Serve("/b.css", {200, "text/css", "second"});
  std::vector<FetchRequest> requests;
  for (const char* name : {"a.txt", "gone.gif", "b.css"}) requests.push_back({server_.Url(std::string("/") + name), Path(name)});
  const std::vector<FetchResult> results = bounded_->FetchAll(requests);
  ASSERT_EQ(results.size(), 3u);
  EXPECT_TRUE(results[0].ok);
  EXPECT_FALSE(results[1].ok);
  EXPECT_TRUE(results[2].ok);
#ifndef _WIN32
  EXPECT_EQ(results[0].content_type, "text/plain");
  EXPECT_EQ(results[2].content_type, "text/css");
#endif
  EXPECT_EQ(ReadFile(Path("a.txt")), "first");
  EXPECT_EQ(ReadFile(Path("b.css")), "second");
  server_.Serve("/slow", {200, "image/gif", "", true});
  MakeSystemFetcher(FetchLimits{1500, 64 * 1024})->Start({server_.Url("/slow"), Path("slow.gif")});
  EXPECT_EQ(Names(), (std::vector<std::string>{"a.txt", "b.css"}));
}

TEST_F(Fetch, LocalFilesAreCopiedAndNoOtherSchemes) {
  WriteFile(Path("local.txt"), "local");
  const std::string local = Path("local.txt");
  EXPECT_TRUE(bounded_->Fetch((local[0] == '/' ? "file://" : "file:///") + local, Path("copy.txt")));
  EXPECT_EQ(ReadFile(Path("copy.txt")), "local");
  EXPECT_FALSE(bounded_->Fetch("data:,local", Path("none.txt")));
  EXPECT_FALSE(bounded_->Fetch("http://127.0.0.1:1/nothing-listens", Path("none.txt")));
  EXPECT_FALSE(Exists(Path("none.txt")));
}

#ifndef _WIN32
TEST_F(Fetch, AFailureSaysWhyAndACopyIsMadeAsTheUmaskSays) {
  const std::vector<FetchResult> failed =
      bounded_->FetchAll({{server_.Url("/missing.gif"), Path("m.gif")}, {"http://127.0.0.1:1/x", Path("r.gif")}});
  EXPECT_EQ(failed[0].error, "HTTP 404");
  EXPECT_NE(failed[1].error.find("onnect"), std::string::npos) << failed[1].error;
  server_.Serve("/p.png", {200, "image/png", "png"});
  const mode_t umask_before = ::umask(027);
  ASSERT_TRUE(MakeSystemFetcher()->Fetch(server_.Url("/p.png"), Path("p.png")));
  ::umask(umask_before);
  EXPECT_EQ(std::filesystem::status(Path("p.png")).permissions(),
            std::filesystem::perms::owner_read | std::filesystem::perms::owner_write | std::filesystem::perms::group_read);
}
#endif

}  // namespace
}  // namespace ph
