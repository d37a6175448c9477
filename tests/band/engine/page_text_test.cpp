// Word counts, joins of extracted pieces, hosts of pages and the place of the data files.
#include "band/engine/page_host.h"
#include "band/engine/page_text.h"

#include <gtest/gtest.h>

#include "platform/code_page.h"
#include "tests/band/engine/engine_fakes.h"

namespace ph {
namespace {

using test::UrlDocument;

TEST(CountWords, CountsRunsBetweenTheFourWhitespaceCharacters) {
  EXPECT_EQ(CountWords("  one\ttwo\r\n"), 2u);
  EXPECT_EQ(CountWords(""), 0u);
  EXPECT_EQ(CountWords(" \t\r\n "), 0u);
  EXPECT_EQ(CountWords("a"), 1u);
  // Other characters, a vertical tab or a no-break space among them, are part of words.
  EXPECT_EQ(CountWords("a\vb c\xA0" "d"), 2u);
}

TEST(CountWords, WordsInAnyScriptCountInUtf16AndInUtf8Alike) {
  const WideString text = u"\u65E5\u672C\u8A9E \u0645\u0631\u062D\u0628\u0627\t\u0395\u03BB\u03BB\u03AC\u03B4\u03B1 \U0001F600";
  EXPECT_EQ(CountWords(text), 4u);
  EXPECT_EQ(CountWords(Utf8CodePage().ToAnsi(text)), 4u);
}

TEST(EqualsIgnoringCase, FoldsTheLettersOfEveryAlphabetAddressesUse) {
  EXPECT_TRUE(EqualsIgnoringCase(u"HTTP://Ex/\u00C9T\u00C9/\u0391\u0392\u0386/\u0141\u00D3D\u0179/\u0416\u0401",
                                 u"http://ex/\u00E9t\u00E9/\u03B1\u03B2\u03AC/\u0142\u00F3d\u017A/\u0436\u0451"));
  EXPECT_FALSE(EqualsIgnoringCase(u"\u00D7", u"\u00F7"));  // multiplication and division signs
  EXPECT_FALSE(EqualsIgnoringCase(u"\u65E5", u"\u65E6"));
}

TEST(AppendWithSeparator, JoinsWhatIsPresentAndAlwaysGivesAString) {
  const WideString piece = u"piece", sep = u"\r\n";
  EXPECT_EQ(AppendWithSeparator(std::nullopt, nullptr, &piece), u"piece");
  EXPECT_EQ(AppendWithSeparator(WideString(u"acc"), &sep, nullptr), u"acc\r\n");
  EXPECT_EQ(AppendWithSeparator(WideString(u"acc"), &sep, &piece), u"acc\r\npiece");
  EXPECT_EQ(AppendWithSeparator(std::nullopt, nullptr, nullptr), u"");
  // A piece passed in the separator's place is appended without a separator.
  EXPECT_EQ(AppendWithSeparator(WideString(u"a"), &piece, nullptr), u"apiece");
}

TEST(HostOfDocument, KeepsCaseDropsTheRestAndGivesOneValueForUrlsWithoutHost) {
  test::SimpleUrls urls;
  Windows1252 cp;
  UrlDocument mixed(u"http://News.Example.com:8080/a/b?c#d");
  EXPECT_EQ(HostOfDocument(mixed, urls, cp), "News.Example.com");
  UrlDocument no_host(u"about:blank"), no_url(std::nullopt);
  EXPECT_EQ(HostOfDocument(no_host, urls, cp), "");
  EXPECT_EQ(HostOfDocument(no_url, urls, cp), "");
  UrlDocument long_host(u"http://" + WideString(300, u'h') + u"/");
  EXPECT_EQ(HostOfDocument(long_host, urls, cp), std::string(255, 'h'));
  // In UTF-8 a cut at 255 bytes would split the 128th two-byte letter: it goes whole.
  UrlDocument long_greek(u"http://" + WideString(200, u'\u03B1') + u"/");
  EXPECT_EQ(HostOfDocument(long_greek, urls, Utf8CodePage()), Utf8CodePage().ToAnsi(WideString(127, u'\u03B1')));
}

TEST(ModuleFilePath, PutsTheFileInTheModuleFolder) {
  test::MemoryFiles files;
  EXPECT_EQ(ModuleFilePath(files, "layouts.dat"), "/band/layouts.dat");
}

}  // namespace
}  // namespace ph
