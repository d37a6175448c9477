// The selection store's records and "selections.dat" byte for byte, damaged files included.
#include "band/engine/selection_store.h"

#include <gtest/gtest.h>

#include "common/le_io.h"

namespace ph {
namespace {

StoredRegion Region(std::int32_t id, RegionKind kind, ElementPath path) { return {kind, id, std::move(path)}; }

TEST(SelectionStore, EraseKeepsTheOrderOfOtherLayouts) {
  SelectionStore store;
  store.Append(Region(5, RegionKind::kSelected, {{"frame", 0}}));
  store.Append(Region(6, RegionKind::kDeselected, {{"frame", 1}}));
  store.Append(Region(5, RegionKind::kTableExclusion, {}));
  store.Append(Region(7, RegionKind::kSelected, {{"frame", 2}}));
  store.EraseRegions(5);
  ASSERT_EQ(store.regions().size(), 2u);
  EXPECT_EQ(store.regions()[0].layout_id, 6);
  EXPECT_EQ(store.regions()[1].layout_id, 7);
}

TEST(SelectionStore, SavesRecordsByteForByteAndReadsThemBack) {
  SelectionStore store;
  store.Append(Region(5, RegionKind::kDeselected, {{"frame", 0}, {"TD", 1}}));
  store.Append(Region(-2, RegionKind::kSelected, {}));
  const Bytes expected = {5, 0, 0, 0, 2, 2, 0, 0, 0,
                          0, 0, 0, 0, 5, 0, 0, 0, 'f', 'r', 'a', 'm', 'e',
                          1, 0, 0, 0, 2, 0, 0, 0, 'T', 'D',
                          0xFE, 0xFF, 0xFF, 0xFF, 0, 0, 0, 0, 0,
                          0, 0, 0, 0};
  EXPECT_EQ(store.SaveBytes(), expected);
  SelectionStore back;
  back.LoadBytes(expected);
  ASSERT_EQ(back.regions().size(), 2u);
  EXPECT_EQ(back.regions()[0].path, (ElementPath{{"frame", 0}, {"TD", 1}}));
  EXPECT_EQ(back.regions()[0].kind, RegionKind::kDeselected);
  EXPECT_EQ(back.regions()[1].layout_id, -2);
  EXPECT_EQ(back.SaveBytes(), expected);
}

TEST(SelectionStore, AFileCutInsideAPathKeepsTheStepsRead) {
  SelectionStore store;
  store.Append(Region(1, RegionKind::kSelected, {{"frame", 0}}));
  store.Append(Region(2, RegionKind::kSelected, {{"frame", 0}, {"DIV", 3}, {"P", 0}}));
  Bytes bytes = store.SaveBytes();
  bytes.resize(bytes.size() - 4 - 6);  // the terminator and most of the last step
  SelectionStore back;
  back.LoadBytes(bytes);
  ASSERT_EQ(back.regions().size(), 2u);
  EXPECT_EQ(back.regions()[1].path, (ElementPath{{"frame", 0}, {"DIV", 3}}));
}

TEST(SelectionStore, HugeCountsAndLengthsDoNotMakeItAllocate) {
  ByteWriter w;
  w.I32(9);
  w.Raw("\0", 1);
  w.U32(0xFFFFFFFFu);  // four billion steps promised
  w.I32(0);
  w.U32(0xFFFFFFF0u);  // a name longer than the file
  SelectionStore store;
  store.LoadBytes(w.bytes());
  ASSERT_EQ(store.regions().size(), 1u);
  EXPECT_TRUE(store.regions()[0].path.empty());
  EXPECT_LT(store.regions()[0].path.capacity(), 16u);
}

}  // namespace
}  // namespace ph
