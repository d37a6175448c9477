// Pages nested deeper than the parser can bear lose the tags of their deepest elements, and no others.
#include "band/html/nesting_limit.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "band/memdoc/memory_document.h"
#include "band/html/html_parser.h"
#include "band/html/memory_node.h"
#include "tests/support/test_paths.h"

namespace ph {
namespace {

std::string Repeat(std::string_view piece, int times) {
  std::string out;
  out.reserve(piece.size() * times);
  for (int i = 0; i < times; ++i) out += piece;
  return out;
}

int TreeDepth(const MemoryNode& root) {
  int deepest = 0;
  std::vector<std::pair<const MemoryNode*, int>> pending{{&root, 1}};
  while (!pending.empty()) {
    const auto [node, depth] = pending.back();
    pending.pop_back();
    deepest = std::max(deepest, depth);
    for (const auto& c : node->children) pending.emplace_back(c.get(), depth + 1);
  }
  return deepest;
}

// Every page the tests, the sample site and the fuzzing corpus hold is parsed as it is, so it keeps
// exactly the tree it had.
TEST(NestingLimit, OrdinaryPagesAreLeftAsTheyAre) {
  const std::string root = test::SourceDir();
  int pages = 0;
  for (const char* folder : {"/tests/pages", "/sample/site", "/fuzz/corpus/memory_document", "/fuzz/corpus/markup_capture", "/fuzz/corpus/cf_html"}) {
    for (const auto& entry : std::filesystem::directory_iterator(root + folder)) {
      std::ifstream in(entry.path(), std::ios::binary);
      std::ostringstream text;
      text << in.rdbuf();
      EXPECT_EQ(LimitNesting(text.str()), std::nullopt) << entry.path();
      ++pages;
    }
  }
  EXPECT_GT(pages, 100);
}

TEST(NestingLimit, DeeperElementsLoseTheirTagsButNotTheirText) {
  const std::string page = "<p>before</p>" + Repeat("<div class=d><span>x</span><b>", 2 * kMaxNesting) + "deep" +
                           Repeat("</b></div>", 2 * kMaxNesting) + "<p>after</p>";
  const auto limited = LimitNesting(page);
  ASSERT_TRUE(limited);
  auto doc = MemoryDocument::Parse(*limited, u"http://h.test/p");
  const auto text = *doc->Body()->InnerText();
  EXPECT_EQ(text.substr(0, 8), u"before\r\n");
  EXPECT_EQ(text.substr(text.size() - 12), u"xdeep\r\nafter");
  EXPECT_EQ(std::count(text.begin(), text.end(), u'x'), 2 * kMaxNesting);
  const int depth = TreeDepth(*doc->root());
  EXPECT_GT(depth, kMaxNesting);
  EXPECT_LT(depth, kMaxNesting + 8);
  // Limiting again changes nothing: every end tag left matches a start tag left.
  EXPECT_EQ(LimitNesting(*limited), std::nullopt);
}

// Nestings the parser builds from tags that close nothing it sees: each must be caught, or the
// parser's work on it grows with the square of the depth and its teardown overflows the stack.
TEST(NestingLimit, NoMarkupNestsPastTheLimit) {
  const int n = 20000;
  for (const std::string& piece :
       {std::string("<li><dd>"), std::string("<optgroup>"), std::string("<rb>"), std::string("<b><div></b>"),
        std::string("<div/>"), std::string("<table><tr><td>"), std::string("<svg><foreignObject>"),
        std::string("<svg><style><div>"), std::string("<a><div>"), std::string("<select><div>"),
        std::string("<ruby><rb><span>")}) {
    auto root = ParsePage(Repeat(piece, n) + "end");
    EXPECT_LT(TreeDepth(*root), kMaxNesting * 3 / 2) << piece;
  }
}

}  // namespace
}  // namespace ph
