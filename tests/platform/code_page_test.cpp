// Windows-1252 by table: the conversions the intake relies on.
#include <gtest/gtest.h>

#include "platform/code_page.h"

namespace ph {
namespace {

TEST(Windows1252, AsciiAndLatin1PassUnchanged) {
  Windows1252 cp;
  EXPECT_EQ(cp.ToAnsi(u"Hello, <b>world</b>\r\n"), "Hello, <b>world</b>\r\n");
  EXPECT_EQ(cp.ToAnsi(u"caf\u00E9 \u00FF"), "caf\xE9 \xFF");
  EXPECT_EQ(cp.ToAnsi(u"\u20AC\u2019\u0160"), "\x80\x92\x8A");
}

TEST(Windows1252, UnrepresentableUnitsBecomeOneSpaceEach) {
  Windows1252 cp;
  EXPECT_EQ(cp.ToAnsi(u"\u4E2D\u6587"), "  ");
  // A character outside the BMP is two units and so two spaces.
  EXPECT_EQ(cp.ToAnsi(u"a\U0001F600b"), "a  b");
  // No look-alike: C with circumflex is not turned into C.
  EXPECT_EQ(cp.ToAnsi(u"\u0108"), " ");
}

TEST(Windows1252, BaseAndCombiningMarkArePrecomposedWhereTheCodePageHasTheLetter) {
  Windows1252 cp;
  EXPECT_EQ(cp.ToAnsi(u"e\u0301"), "\xE9");
  EXPECT_EQ(cp.ToAnsi(u"A\u030A"), "\xC5");
  EXPECT_EQ(cp.ToAnsi(u"S\u030C"), "\x8A");
  EXPECT_EQ(cp.ToAnsi(u"Y\u0308"), "\x9F");
  // No precomposed letter: the base stays and the mark becomes a space.
  EXPECT_EQ(cp.ToAnsi(u"r\u0301"), "r ");
  // Only one mark is folded into the base.
  EXPECT_EQ(cp.ToAnsi(u"a\u0308\u0301"), "\xE4 ");
  EXPECT_EQ(cp.ToAnsi(u"\u0301"), " ");
}

TEST(Windows1252, EveryByteSurvivesARoundTrip) {
  Windows1252 cp;
  std::string all;
  for (int b = 1; b < 256; ++b) all += static_cast<char>(b);
  const WideString wide = cp.FromAnsi(all);
  ASSERT_EQ(wide.size(), all.size());
  EXPECT_EQ(wide[0x80 - 1], u'\u20AC');
  EXPECT_EQ(wide[0x81 - 1], u'\u0081');
  EXPECT_EQ(cp.ToAnsi(wide), all);
}

}  // namespace
}  // namespace ph
