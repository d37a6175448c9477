// The one-pass Auto Selection scan picks exactly what the block-by-block scan picks.
#include <random>

#include <gtest/gtest.h>

#include "band/engine/extraction.h"
#include "band/engine/page_text.h"
#include "tests/band/engine/posix/engine_harness.h"

namespace ph {
namespace {

// The scan as first written: for each block, the words of its text less those of every cell below.
ElementPtr ReadEveryCellBelowEveryBlock(const DocumentList& documents) {
  ElementPtr best;
  std::int64_t best_score = 0;
  for (const auto& doc : documents) {
    for (const char16_t* tag : {u"td", u"div"}) {
      auto elements = doc->ElementsByTagName(tag);
      for (long i = 0; i < elements->Length(); ++i) {
        auto e = elements->Item(i);
        auto text = e->InnerText();
        if (!text) continue;
        std::int64_t score = static_cast<std::int64_t>(CountWords(WideView(*text)));
        auto cells = e->ElementsByTagName(u"td");
        for (long k = 0; k < cells->Length(); ++k)
          if (auto t = cells->Item(k)->InnerText()) score -= static_cast<std::int64_t>(CountWords(WideView(*t)));
        if (score > best_score) {
          best_score = score;
          best = e;
        }
      }
    }
  }
  return best;
}

// Random nesting of cells, blocks and inline text, with words that sometimes run across elements.
std::string RandomBlocks(std::mt19937& rng, int depth) {
  std::string html;
  const int parts = std::uniform_int_distribution<int>(0, 4)(rng);
  for (int p = 0; p < parts; ++p) {
    const int kind = std::uniform_int_distribution<int>(0, depth > 4 ? 1 : 4)(rng);
    const int words = std::uniform_int_distribution<int>(0, 4)(rng);
    for (int w = 0; w < words; ++w) html += (w ? " w" : "w") + std::to_string(w);
    switch (kind) {
      case 0: html += " "; break;
      case 1: html += "<b>x</b>y"; break;  // one word spread over two elements
      case 2: html += "<div>" + RandomBlocks(rng, depth + 1) + "</div>"; break;
      case 3:
      case 4: html += "<table><tr><td>" + RandomBlocks(rng, depth + 1) + "</td><td>" + RandomBlocks(rng, depth + 1) +
                      "</td></tr></table>";
        break;
    }
  }
  return html;
}

TEST(RichestBlock, AgreesWithTheBlockByBlockScanOnRandomPages) {
  Windows1252 cp;
  std::mt19937 rng(20261208);
  int picked = 0;
  for (int round = 0; round < 300; ++round) {
    auto doc = MemoryDocument::Parse(RandomBlocks(rng, 0), u"http://h/");
    const DocumentList docs = CollectDocuments(doc);
    ElementPtr fast = FindRichestBlock(docs);
    ElementPtr slow = ReadEveryCellBelowEveryBlock(docs);
    ASSERT_EQ(fast == nullptr, slow == nullptr) << cp.ToAnsi(*doc->Body()->InnerHtml());
    if (fast) {
      ++picked;
      EXPECT_TRUE(SameElement(*fast, *slow)) << cp.ToAnsi(*doc->Body()->InnerHtml());
    }
  }
  EXPECT_GT(picked, 100);
}

TEST(RichestBlock, SearchesTheDocumentsOfFramesInOrder) {
  auto top = test::Page("frameset.html");
  auto best = FindRichestBlock(CollectDocuments(top));
  ASSERT_TRUE(best);
  // "Inner frame text" and "Right frame story" score 3 each: the tie goes to the inner frame's, whose
  // document comes first in the page's list.
  EXPECT_EQ(*best->InnerText(), u"Inner frame text");
}

}  // namespace
}  // namespace ph
