// Word counts, joins of extracted pieces, hosts of pages and the place of the data files.
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
}

TEST(ModuleFilePath, PutsTheFileInTheModuleFolder) {
  test::MemoryFiles files;
  EXPECT_EQ(ModuleFilePath(files, "layouts.dat"), "/band/layouts.dat");
}

}  // namespace
}  // namespace ph
