// The small pieces of grab: written paths, progress and page text.
#include <gtest/gtest.h>

#include "platform/code_page.h"
#include "tools/grab/page_encoding.h"
#include "tools/grab/page_loader.h"
#include "tools/grab/path_text.h"
#include "tools/grab/progress.h"

namespace ph::grab {
namespace {

TEST(PathText, WrittenPathsReadBackAsTheSamePath) {
  const ElementPath path = {{"frame", 0}, {"TABLE", 1}, {"TBODY", 0}, {"TR", 12}, {"TD", 1}};
  EXPECT_EQ(PathToText(path), "frame[0]/TABLE[1]/TBODY[0]/TR[12]/TD[1]");
  EXPECT_EQ(PathFromText(PathToText(path)), path);
  for (const char* bad : {"", "TD", "TD[]", "TD[x]", "[1]", "TD[1]/", "TD[1]x", "TD[-1]", "TD[99999999999]"})
    EXPECT_FALSE(PathFromText(bad).has_value()) << bad;
}

TEST(Progress, BarAndSummaryCountEveryPage) {
  Tally t;
  for (Outcome o : {Outcome::kSaved, Outcome::kSaved, Outcome::kSaved, Outcome::kSaved, Outcome::kSaved,
                    Outcome::kSkipped, Outcome::kSkipped, Outcome::kSkipped, Outcome::kFailed, Outcome::kFailed})
    t.Add(o);
  EXPECT_EQ(SummaryText(t), "saved 5, skipped 3, failed 2");
  EXPECT_EQ(ProgressText(t, 20, 10), "[#####.....] 10/20  saved 5  skipped 3  failed 2");
  EXPECT_EQ(ProgressText(Tally{}, 0, 4), "[####] 0/0  saved 0  skipped 0  failed 0");
  t.Add(Outcome::kSavedBefore);
  EXPECT_EQ(SummaryText(t), "saved 5, skipped 3, failed 2, 1 saved before");
}

TEST(PageText, IsDecodedByTheMarkThenHttpThenMetaThenUtf8ThenWindows1252) {
  const std::string privet_1251 = "\xCF\xF0\xE8\xE2\xE5\xF2";
  const std::string privet = "\xD0\x9F\xD1\x80\xD0\xB8\xD0\xB2\xD0\xB5\xD1\x82";
  EXPECT_EQ(DecodePage(privet_1251, "text/html; Charset=\"windows-1251\""), privet);
  EXPECT_EQ(DecodePage("<meta charset=windows-1251>" + privet_1251, ""), "<meta charset=windows-1251>" + privet);
  const std::string meta_1251 = "<META http-equiv=\"Content-Type\" content=\"text/html; charset=windows-1251\">";
  EXPECT_EQ(DecodePage(meta_1251 + privet_1251, ""), meta_1251 + privet);
  // HTTP goes before meta, and the mark before both.
  EXPECT_EQ(DecodePage("<meta charset=koi8-r>\xE9", "text/html;charset=iso-8859-1"), "<meta charset=koi8-r>\xC3\xA9");
  EXPECT_EQ(DecodePage("\xEF\xBB\xBF" + privet, "text/html; charset=windows-1251"), privet);
  EXPECT_EQ(DecodePage(std::string("\xFF\xFE\x1F\x04\x40\x04", 6), ""), "\xD0\x9F\xD1\x80");
  // Undeclared: UTF-8 when valid, else windows-1252; an unknown label is passed over.
  EXPECT_EQ(DecodePage("caf\xC3\xA9", ""), "caf\xC3\xA9");
  EXPECT_EQ(DecodePage("caf\xE9 \x80", "text/html; charset=no-such-thing"), "caf\xC3\xA9 \xE2\x82\xAC");
  // A byte the declared encoding lacks becomes U+FFFD, and the rest is kept.
  EXPECT_EQ(DecodePage("a\x98z", "text/html; charset=windows-1251"), "a\xEF\xBF\xBDz");
}

TEST(PageText, UrlsAndFileUrls) {
  EXPECT_TRUE(IsWebUrl("https://x/"));
  EXPECT_TRUE(IsWebUrl("HTTP://x/"));
  EXPECT_FALSE(IsWebUrl("http:/x"));
  EXPECT_FALSE(IsWebUrl("file:///x"));
  EXPECT_EQ(FileUrl("/tmp/a b/c#.html"), "file:///tmp/a%20b/c%23.html");
}

}  // namespace
}  // namespace ph::grab
