// The URL port: the same answers from uriparser natively and from WinINet under Wine.
#include "platform/url.h"

#include <gtest/gtest.h>

namespace ph {
namespace {

class Url : public ::testing::Test {
 protected:
  std::string Combine(const char* base, const char* ref) {
    std::string out;
    return url_->Combine(base, ref, &out) ? out : "<fail>";
  }
  std::string Path(const char* url) {
    std::string out;
    return url_->DecodedPath(url, &out) ? out : "<fail>";
  }
  std::string Host(const char* url) {
    std::string out;
    return url_->Host(url, &out) ? out : "<fail>";
  }
  std::unique_ptr<UrlPort> url_ = MakeSystemUrlPort();
};

TEST_F(Url, CombineResolvesRelativeReferencesAgainstTheBase) {
  const char* base = "http://example.test/dir/page.html?q=1";
  EXPECT_EQ(Combine(base, "img/a.png"), "http://example.test/dir/img/a.png");
  EXPECT_EQ(Combine(base, "/top.css"), "http://example.test/top.css");
  EXPECT_EQ(Combine(base, "../up.gif"), "http://example.test/up.gif");
  EXPECT_EQ(Combine(base, "http://other.test/x.png"), "http://other.test/x.png");
  EXPECT_EQ(Combine(base, "//cdn.test/s.css"), "http://cdn.test/s.css");
  EXPECT_EQ(Combine("http://example.test:8080/a/", "b.png"), "http://example.test:8080/a/b.png");
}

TEST_F(Url, DecodedPathIsThePathAloneWithEscapesDecoded) {
  EXPECT_EQ(Path("http://example.test/dir/a%20b.png?x=1#frag"), "/dir/a b.png");
  EXPECT_EQ(Path("http://example.test/"), "/");
  EXPECT_EQ(Path("http://example.test:81/%41%42.css"), "/AB.css");
}

TEST_F(Url, HostIsTakenAsWrittenWithoutPortOrUser) {
  EXPECT_EQ(Host("http://Example.TEST:8080/x"), "Example.TEST");
  EXPECT_EQ(Host("https://user:pw@host.test/p"), "host.test");
  EXPECT_EQ(Host("http://127.0.0.1:5000/"), "127.0.0.1");
  EXPECT_EQ(Host("not a url"), "<fail>");
  std::string longest = "http://" + std::string(300, 'h') + ".test/";
  EXPECT_EQ(Host(longest.c_str()), "<fail>");
}

}  // namespace
}  // namespace ph

namespace ph {
namespace {

TEST(PercentDecode, DecodesEachEscapeOnceAndKeepsBrokenOnes) {
  EXPECT_EQ(PercentDecode("a%20b%2e%2E%2f"), "a b../");
  EXPECT_EQ(PercentDecode("%2541"), "%41");
  EXPECT_EQ(PercentDecode("100%"), "100%");
  EXPECT_EQ(PercentDecode("%4"), "%4");
  EXPECT_EQ(PercentDecode("%zz%41"), "%zzA");
  EXPECT_EQ(PercentDecode("%00x"), std::string("\0x", 2));
}

}  // namespace
}  // namespace ph
