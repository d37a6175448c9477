// The fetch port takes a file from the browser's URL cache before it downloads anything.
#include <windows.h>
#include <wininet.h>

#include <cstring>

#include "platform/fetch.h"
#include "tests/controller/outputs/outputs_fixture.h"
#include "tests/support/loopback_http_server.h"

namespace ph {
namespace {

class UrlCache : public test::OutputsTest {
 protected:
  // Puts a file into the cache under the URL, as the browser does when it shows a page.
  bool Cache(const std::string& url, const std::string& bytes, const char* headers) {
    char file[MAX_PATH] = {};
    if (!::CreateUrlCacheEntryA(url.c_str(), 0, "gif", file, 0)) return false;
    WriteFile(file, bytes);
    FILETIME none = {};
    return ::CommitUrlCacheEntryA(url.c_str(), file, none, none, NORMAL_CACHE_ENTRY,
                                  reinterpret_cast<BYTE*>(const_cast<char*>(headers)),
                                  static_cast<DWORD>(std::strlen(headers)), nullptr, nullptr) != FALSE;
  }
  test::LoopbackHttpServer server_;
};

TEST_F(UrlCache, CachedFileIsCopiedWithoutADownload) {
  ASSERT_TRUE(server_.ok());
  const std::string url = server_.Url("/cached/picture.gif");
  ASSERT_TRUE(Cache(url, "from the cache", "HTTP/1.1 200 OK\r\nContent-Type: image/gif\r\n\r\n"));
  ASSERT_TRUE(fetcher_->Fetch(url, Path("picture.gif")));
  EXPECT_EQ(ReadFile(Path("picture.gif")), "from the cache");
  EXPECT_TRUE(server_.Requests().empty());
}

TEST_F(UrlCache, CachedErrorPageIsPassedOverForTheDownload) {
  ASSERT_TRUE(server_.ok());
  const std::string url = server_.Url("/cached/error.gif");
  server_.Serve("/cached/error.gif", {200, "image/gif", "downloaded"});
  ASSERT_TRUE(Cache(url, "<h1>Not Found</h1>", "HTTP/1.1 404 Not Found\r\n\r\n"));
  ASSERT_TRUE(fetcher_->Fetch(url, Path("error.gif")));
  EXPECT_EQ(ReadFile(Path("error.gif")), "downloaded");
}

}  // namespace
}  // namespace ph
