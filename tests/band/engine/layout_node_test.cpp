// Layout signatures: similarity scores, their encoding, and signatures too deep for recursion.
#include "band/engine/layout_node.h"

#include <gtest/gtest.h>

#include "common/le_io.h"
#include "tests/band/engine/engine_fakes.h"

namespace ph {
namespace {

using test::TablePage;

TEST(Similarity, CostsFallByFivePerLevel) {
  const LayoutNode base = TablePage({{3, 3}, {2}});
  EXPECT_EQ(Similarity(base, base), 100.0f);
  EXPECT_FLOAT_EQ(Similarity(base, TablePage({{3, 4}, {2}})), 99.2f);  // one cell more
  EXPECT_FLOAT_EQ(Similarity(base, TablePage({{3, 5}, {2}})), 98.4f);
  EXPECT_FLOAT_EQ(Similarity(base, TablePage({{4, 4}, {2}})), 98.4f);  // one more in each of two rows
  EXPECT_FLOAT_EQ(Similarity(base, TablePage({{3, 3, 1}, {2}})), 96.0f);  // one row more
  EXPECT_FLOAT_EQ(Similarity(base, TablePage({{3, 3}, {2}, {1}})), 80.0f);  // one table more
  EXPECT_EQ(Similarity(LayoutNode(), LayoutNode()), 100.0f);
}

TEST(Similarity, KindsDifferAndScoresGoNegative) {
  LayoutNode a(kLayoutDocument), b(kLayoutDocument);
  a.AddChild(kLayoutTable);
  b.AddChild(kLayoutDocument);  // a frame where the other page has a table
  EXPECT_FLOAT_EQ(Similarity(a, b), 94.0f);

  LayoutNode many(kLayoutDocument);
  for (int i = 0; i < 6; ++i) many.AddChild(kLayoutTable);
  EXPECT_FLOAT_EQ(Similarity(LayoutNode(), many), -20.0f);
}

TEST(Similarity, EachSubtractionIsRoundedToAFloat) {
  // 0.16 per nested table; 100 - 0.16 rounded to float, then again, differs from subtracting 0.32.
  LayoutNode a = TablePage({{1}}), b = TablePage({{1}});
  LayoutNode* cell = const_cast<LayoutNode*>(b.children()[0]->children()[0]->children()[0].get());
  cell->AddChild(kLayoutTable);
  float expected = 100.0f;
  expected = static_cast<float>(expected - 20.0 / 125.0 * 1);
  EXPECT_EQ(Similarity(a, b), expected);
}

TEST(Similarity, TheFloorLetsAComparisonStopEarlyWithoutChangingScoresAboveIt) {
  LayoutForms forms;
  const auto base = forms.Add(TablePage({{3, 3}, {2}}));
  const auto close = forms.Add(TablePage({{3, 4}, {2}}));
  const auto far = forms.Add(TablePage({{3}, {2}, {1}}));
  EXPECT_EQ(SimilarityAtLeast(forms, base, close, 99.0f), SimilarityAtLeast(forms, base, close, -1000.0f));
  EXPECT_LT(SimilarityAtLeast(forms, base, far, 99.0f), 99.0f);
}

Bytes Encode(const LayoutNode& n) {
  ByteWriter w;
  EncodeLayout(n, &w);
  return w.Take();
}

TEST(LayoutEncoding, WritesNodeStartsKindsAndChildBrackets) {
  LayoutNode doc = TablePage({{1}});
  const Bytes expected = {3, 3, 1, 3, 2, 1, 3, 1, 1, 3, 0, 2, 2, 2};
  EXPECT_EQ(Encode(doc), expected);
  EXPECT_EQ(Encode(LayoutNode()), (Bytes{3, 3}));
}

TEST(LayoutEncoding, ReadsBackWhatItWrote) {
  LayoutNode doc = TablePage({{2, 1}, {3}});
  doc.AddChild(kLayoutDocument)->AddChild(kLayoutTable);
  Bytes bytes = Encode(doc);
  bytes.push_back(0);
  ByteReader in(bytes);
  LayoutNode back(kLayoutCell);
  ASSERT_TRUE(DecodeLayout(&in, &back));
  EXPECT_TRUE(back.SameShape(doc));
  EXPECT_TRUE(in.AtEnd());
  EXPECT_EQ(back.children()[0]->parent(), &back);
}

TEST(LayoutEncoding, DamagedSignaturesEndTheReadAndKeepWhatWasRead) {
  {
    const Bytes cut = {3, 3, 1, 3, 2};  // ends before its closing bytes
    ByteReader in(cut);
    LayoutNode n;
    EXPECT_FALSE(DecodeLayout(&in, &n));
    ASSERT_EQ(n.children().size(), 1u);
    EXPECT_EQ(n.children()[0]->kind(), kLayoutTable);
  }
  {
    const Bytes above_root = {3, 3, 1, 2, 2, 0};
    ByteReader in(above_root);
    LayoutNode n;
    EXPECT_FALSE(DecodeLayout(&in, &n));
  }
  {
    const Bytes unknown_bytes = {3, 3, 9, 1, 0x7f, 3, 2, 2, 0};
    ByteReader in(unknown_bytes);
    LayoutNode n;
    EXPECT_TRUE(DecodeLayout(&in, &n));
    EXPECT_EQ(n.children().size(), 1u);
  }
}

TEST(LayoutNode, AMillionLevelsDeepAreReadComparedCopiedAndDestroyedWithoutRecursion) {
  const std::size_t depth = 1000000;
  Bytes bytes = {3, 3, 1};
  for (std::size_t i = 0; i < depth; ++i) {
    bytes.push_back(3);
    bytes.push_back(2);
    bytes.push_back(1);
  }
  bytes.push_back(0);
  ByteReader in(bytes);
  LayoutNode deep;
  ASSERT_TRUE(DecodeLayout(&in, &deep));
  LayoutNode copy = deep;
  EXPECT_EQ(Similarity(deep, copy), 100.0f);
  EXPECT_TRUE(deep.SameShape(copy));
  EXPECT_FLOAT_EQ(Similarity(LayoutNode(), deep), 80.0f);
  ByteWriter out;
  EncodeLayout(copy, &out);
  EXPECT_EQ(out.bytes().size(), 2 + depth * 4);
}

}  // namespace
}  // namespace ph
