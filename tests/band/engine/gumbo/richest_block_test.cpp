// The one-pass Auto Selection scan picks exactly what the block-by-block scan picks.
#include <random>

#include <gtest/gtest.h>

#include "band/engine/extraction.h"
#include "band/engine/page_text.h"
#include "tests/band/engine/gumbo/engine_harness.h"

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

// Random nesting of cells, blocks, preformatted and hidden parts and inline text, with words that
// sometimes run across elements and form feeds that are a space or a letter depending on where they are.
std::string RandomBlocks(std::mt19937& rng, int depth) {
  std::string html;
  const int parts = std::uniform_int_distribution<int>(0, 4)(rng);
  for (int p = 0; p < parts; ++p) {
    const int kind = std::uniform_int_distribution<int>(0, depth > 4 ? 1 : 9)(rng);
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
      case 5: html += "<pre>p\fq r<i>s</i>\n" + RandomBlocks(rng, depth + 1) + "</pre>"; break;
      case 6: html += "a<br>b\fc"; break;
      case 7: html += "<span>" + RandomBlocks(rng, depth + 1) + "</span>z"; break;
      case 8: html += "<script>s t</script>u<style>v</style>"; break;
      case 9: html += "<table><tr><th>h " + RandomBlocks(rng, depth + 1) + "</th></tr></table>"; break;
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

TEST(RichestBlock, TheOutlineInOneWalkSaysWhatAskingElementByElementSays) {
  std::mt19937 rng(8);
  for (int round = 0; round < 300; ++round) {
    auto doc = MemoryDocument::Parse(RandomBlocks(rng, 0), u"http://h/");
    const DocumentOutline fast = doc->Outline(true), slow = doc->Document::Outline(true);
    ASSERT_EQ(fast.entries.size(), slow.entries.size());
    for (std::size_t i = 0; i < fast.entries.size(); ++i) {
      const auto &f = fast.entries[i], &s = slow.entries[i];
      EXPECT_EQ(f.source_index, s.source_index);
      EXPECT_EQ(f.parent, s.parent);
      EXPECT_EQ(fast.tags[f.tag], slow.tags[s.tag]);
      EXPECT_EQ(f.words, s.words) << i << " " << Windows1252().ToAnsi(*doc->Body()->InnerHtml());
    }
    // Each block is found again from its entry.
    for (std::size_t i = 0; i < fast.entries.size(); ++i) {
      const ElementPtr e = OutlineElement(*doc, fast, static_cast<std::int32_t>(i));
      ASSERT_TRUE(e);
      EXPECT_EQ(e->SourceIndex(), fast.entries[i].source_index);
    }
  }
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
