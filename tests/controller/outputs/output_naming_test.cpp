// Suggested file names: the suffixes of "Name Append Type" and the characters names cannot hold.
#include "controller/outputs/output_naming.h"

#include <gtest/gtest.h>

#include "controller/outputs/file_names.h"
#include "controller/shell/settings.h"

namespace ph {
namespace {

std::string Name(const std::string& title, std::int32_t type, std::int32_t len = 10, const std::string& text = "") {
  OutputContext c;
  c.title = title;
  c.text = text;
  SettingsRecord s;
  s.name_append_type = type;
  s.name_append_len = len;
  return SuggestedName(c, s, LocalTime{2007, 11, 3, 21, 4, 9, 0});
}

TEST(SuggestedName, ReplacesTheTenForbiddenCharactersAndNothingElse) {
  EXPECT_EQ(Name("a/b: c.d", 0), "a_b_ c_d");
  EXPECT_EQ(Name("\"*./:<>?\\|", 0), "__________");
  EXPECT_EQ(Name("tab here, caf\xe9 & co!", 0), "tab here, caf\xe9 & co!");
  EXPECT_EQ(Name("", 0), "");
  EXPECT_EQ(Name("x", 7), "x");  // unknown types add nothing
}

TEST(SuggestedName, DeviceNamesControlCharactersAndTrailingSpacesCannotReachTheFileSystem) {
  EXPECT_EQ(Name("CON", 0), "_CON");
  EXPECT_EQ(Name("lpt1 ", 0), "_lpt1_");
  EXPECT_EQ(Name("a\tb\x01\x7f", 0), "a_b__");
}

TEST(PathInFolder, ANameTooLongForItsFolderIsCutAndKeptApartByAHash) {
  const std::string folder = "C:\\" + std::string(150, 'f');
  const std::string a = PathInFolder(folder, std::string(300, 't') + "a", ".txt", '\\');
  const std::string b = PathInFolder(folder, std::string(300, 't') + "b", ".txt", '\\');
  EXPECT_LE(a.size(), kMaxPath);
  EXPECT_EQ(a.rfind(folder + "\\ttt", 0), 0u);
  EXPECT_EQ(a.substr(a.size() - 4), ".txt");
  EXPECT_NE(a, b);
  EXPECT_EQ(PathInFolder("/out", "short", ".txt", '/'), "/out/short.txt");
  // A cut never splits a character.
  const std::string cut = PathInFolder("/out", std::string(300, 'e') + "\xc3\xa9\xc3\xa9", ".txt", '/');
  EXPECT_LE(cut.size() - 5, kMaxFileName);
  EXPECT_EQ(PathInFolder("/out", std::string(250, 'x') + "\xc3\xa9", ".txt", '/').find("\xc3."), std::string::npos);
}

TEST(SuggestedName, StampHasTwoDigitYearAndTwentyFourHours) {
  EXPECT_EQ(Name("News", 1), "News_071103-210409");
  EXPECT_EQ(StampText(LocalTime{2000, 1, 2, 0, 0, 0, 0}), "_000102-000000");
}

TEST(SuggestedName, ContentSuffixCountsARunOfBreaksAndSpacesAsOne) {
  EXPECT_EQ(Name("T", 2, 5, "one  two\r\nthree"), "T_one t");
  EXPECT_EQ(Name("T", 2, 20, "one  two\r\nthree"), "T_one two three");
  EXPECT_EQ(Name("T", 2, 5, ""), "T_");
  EXPECT_EQ(Name("T", 2, 0, "abc"), "T_");
  EXPECT_EQ(Name("T", 2, 3, "\n\n a"), "T_ a");
  // The forbidden characters of the suffix are replaced as well, after counting.
  EXPECT_EQ(Name("T", 2, 4, "a.b/c"), "T_a_b_");
  // Characters, not bytes: three Japanese characters and an emoji are four, each kept whole.
  EXPECT_EQ(Name("T", 2, 4, "\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E\xF0\x9F\x98\x80xyz"),
            "T_\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E\xF0\x9F\x98\x80");
}

TEST(DateAndTimeTexts, UseFourDigitYearsAndLeadingZeros) {
  const LocalTime t{2026, 3, 7, 9, 5, 4, 0};
  EXPECT_EQ(DateText(t), "2026-03-07");
  EXPECT_EQ(TimeText(t), "09:05:04");
}

}  // namespace
}  // namespace ph
