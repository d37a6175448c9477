// The layout store: matching by host and similarity, numbering, and "layouts.dat" byte for byte.
#include "band/engine/layout_store.h"

#include <cmath>
#include <random>
#include <tuple>

#include <gtest/gtest.h>

#include "common/le_io.h"
#include "tests/band/engine/engine_fakes.h"

namespace ph {
namespace {

using test::TablePage;

TEST(LayoutStore, MatchesOnTheSameHostAtNinetyNineOrMore) {
  LayoutStore store;
  EXPECT_EQ(store.AddLayout("example.com", TablePage({{3, 3}})), 1);
  EXPECT_EQ(store.FindLayout("example.com", TablePage({{3, 4}})), 1);  // 99.2
  EXPECT_EQ(store.FindLayout("example.com", TablePage({{3, 5}})), 0);  // 98.4
  EXPECT_EQ(store.FindLayout("example.com", TablePage({{3, 3, 1}})), 0);  // 96
  EXPECT_EQ(store.FindLayout("other.com", TablePage({{3, 3}})), 0);
  EXPECT_EQ(store.FindLayout("Example.com", TablePage({{3, 3}})), 0);
  // A page without tables matches another without tables of its host only.
  EXPECT_EQ(store.AddLayout("example.com", LayoutNode()), 2);
  EXPECT_EQ(store.FindLayout("example.com", LayoutNode()), 2);
}

TEST(LayoutStore, TheBestScoreWinsAndTiesGoToTheLowerId) {
  LayoutStore store;
  ByteWriter w;
  // Ids 4 and 2 with the same signature, 3 with a closer one: loaded out of order on purpose.
  for (auto [id, cells] : std::vector<std::pair<int, int>>{{4, 2}, {2, 2}, {3, 3}}) {
    w.I32(id);
    w.String("h");
    EncodeLayout(TablePage({{cells}}), &w);
    w.Raw("\0", 1);
  }
  w.U32(0);
  store.LoadBytes(w.bytes());
  EXPECT_EQ(store.FindLayout("h", TablePage({{2}})), 2);
  EXPECT_EQ(store.FindLayout("h", TablePage({{3}})), 3);
  EXPECT_EQ(store.highest_id(), 4);
  EXPECT_EQ(store.AddLayout("h", TablePage({{7, 7}})), 5);
}

TEST(LayoutStore, SavesEntriesInIdOrderByteForByte) {
  LayoutStore store;
  store.AddLayout("ab", TablePage({{1}}));
  store.AddLayout("c", LayoutNode());
  const Bytes expected = {1, 0, 0, 0, 2, 0, 0, 0, 'a', 'b', 3, 3, 1, 3, 2, 1, 3, 1, 1, 3, 0, 2, 2, 2, 0,
                          2, 0, 0, 0, 1, 0, 0, 0, 'c', 3, 3, 0,
                          0, 0, 0, 0};
  EXPECT_EQ(store.SaveBytes(), expected);
  LayoutStore back;
  back.LoadBytes(expected);
  EXPECT_EQ(back.SaveBytes(), expected);
}

TEST(LayoutStore, ACutFileKeepsEveryEntryReadAndCountsEveryId) {
  LayoutStore full;
  full.AddLayout("one", TablePage({{1}}));
  full.AddLayout("two", TablePage({{2}}));
  Bytes bytes = full.SaveBytes();
  // Ids 1, 2 and 7: 7 is cut inside its host.
  bytes.resize(bytes.size() - 4);
  ByteWriter tail;
  tail.I32(7);
  tail.U32(5);
  tail.Raw("sev", 3);
  bytes.insert(bytes.end(), tail.bytes().begin(), tail.bytes().end());
  LayoutStore store;
  store.LoadBytes(bytes);
  ASSERT_EQ(store.entries().size(), 3u);
  EXPECT_EQ(store.entries().at(7).host, "sev");
  EXPECT_EQ(store.highest_id(), 7);
  EXPECT_EQ(store.AddLayout("new", LayoutNode()), 8);
  EXPECT_EQ(store.FindLayout("two", TablePage({{2}})), 2);
}

TEST(LayoutStore, HugeLengthsAndBrokenSignaturesNeverReadPastTheFile) {
  ByteWriter w;
  w.I32(3);
  w.U32(0xFFFFFFFFu);  // a host "length" of 4 GB in a file of a few bytes
  w.Raw("xy", 2);
  LayoutStore store;
  store.LoadBytes(w.bytes());
  ASSERT_EQ(store.entries().size(), 1u);
  EXPECT_EQ(store.entries().at(3).host, "xy");

  ByteWriter climbing;
  climbing.I32(1);
  climbing.String("h");
  climbing.Raw("\x03\x03\x01\x02\x02\x00", 6);  // leaves the root: the rest of the file is not read
  climbing.I32(2);
  climbing.String("h");
  climbing.Raw("\x03\x03\x00", 3);
  climbing.U32(0);
  store.LoadBytes(climbing.bytes());
  EXPECT_EQ(store.entries().size(), 1u);
  EXPECT_EQ(store.highest_id(), 1);
}

TEST(LayoutStore, AHostEndsAtItsFirstZeroByteAndARepeatedIdReplacesItsEntry) {
  ByteWriter w;
  w.I32(1);
  w.String(std::string("ab\0cd", 5));
  w.Raw("\x03\x03\x01\x03\x02\x02\x00", 7);
  w.I32(1);
  w.String("again");
  w.Raw("\x03\x03\x00", 3);
  w.U32(0);
  LayoutStore store;
  store.LoadBytes(w.bytes());
  ASSERT_EQ(store.entries().size(), 1u);
  EXPECT_EQ(store.entries().at(1).host, "again");
  EXPECT_TRUE(store.entries().at(1).signature.children().empty());
}

}  // namespace
}  // namespace ph

namespace ph {
namespace {

// Random signatures that differ from a base by a few rows, cells, nested tables and kinds.
LayoutNode Mutated(const std::vector<std::vector<int>>& base, std::mt19937& rng) {
  std::vector<std::vector<int>> tables = base;
  const int changes = std::uniform_int_distribution<int>(0, 2)(rng);
  for (int c = 0; c < changes; ++c) {
    auto& rows = tables[std::uniform_int_distribution<std::size_t>(0, tables.size() - 1)(rng)];
    const int what = std::uniform_int_distribution<int>(0, 2)(rng);
    if (what == 0) rows.push_back(2);
    if (what == 1 && !rows.empty()) rows.back() += 1;
    if (what == 2 && rows.size() > 1) rows.pop_back();
  }
  LayoutNode page = TablePage(tables);
  auto* cell = const_cast<LayoutNode*>(page.children()[0]->children()[0]->children()[0].get());
  const int deep = std::uniform_int_distribution<int>(0, 5)(rng);
  if (deep == 0) cell->AddChild(kLayoutTable)->AddChild(kLayoutRow);
  if (deep == 1) cell->AddChild(kLayoutDocument);
  if (deep == 2) cell->set_kind(kLayoutRow);
  return page;
}

// The rule as written: node against node from the top, children paired in order, depth first, each
// subtraction rounded to a float.
void PlainCompare(const LayoutNode& s, const LayoutNode& n, int depth, float* score) {
  const double cs = static_cast<double>(s.children().size()), cn = static_cast<double>(n.children().size());
  if (cs != cn) *score = static_cast<float>(*score - 20.0 / std::pow(5.0, depth) * std::abs(cs - cn));
  if (s.kind() != n.kind()) *score = static_cast<float>(*score - 30.0 / std::pow(5.0, depth));
  for (std::size_t i = 0; i < s.children().size() && i < n.children().size(); ++i)
    PlainCompare(*s.children()[i], *n.children()[i], depth + 1, score);
}

TEST(LayoutStore, FindingGivesWhatComparingWithEveryEntryInFullGives) {
  std::mt19937 rng(7);
  const std::vector<std::vector<int>> base = {{3, 3, 3}, {2, 2}, {4}};
  for (int round = 0; round < 40; ++round) {
    ByteWriter file;
    std::vector<std::tuple<std::int32_t, std::string, LayoutNode>> stored;
    for (std::int32_t id = 1; id <= 30; ++id) {
      // Some entries repeat an earlier one, and a few belong to another host.
      LayoutNode sig = id > 1 && rng() % 4 == 0 ? std::get<2>(stored[rng() % stored.size()]) : Mutated(base, rng);
      stored.emplace_back(id, rng() % 8 == 0 ? "other" : "h", std::move(sig));
      file.I32(id);
      file.String(std::get<1>(stored.back()));
      EncodeLayout(std::get<2>(stored.back()), &file);
      file.Raw("", 1);
    }
    file.U32(0);
    LayoutStore store;
    store.LoadBytes(file.bytes());
    for (int probe = 0; probe < 10; ++probe) {
      const LayoutNode page = Mutated(base, rng);
      float best = 0.0f;
      std::int32_t best_id = 0;
      for (const auto& [id, host, sig] : stored) {
        float s = 100.0f;
        PlainCompare(sig, page, 0, &s);
        if (host == "h" && s > best) {
          best = s;
          best_id = id;
        }
      }
      EXPECT_EQ(store.FindLayout("h", page), best >= 99.0f ? best_id : 0);
    }
  }
}

}  // namespace
}  // namespace ph
