// The engine's data files shared by several processes: each change is made on what the files hold then.
#include "band/engine/engine_stores.h"

#include <gtest/gtest.h>

#include "tests/band/engine/engine_fakes.h"

namespace ph {
namespace {

LayoutNode Tables(int count) {
  LayoutNode page(kLayoutDocument);
  for (int i = 0; i < count; ++i) page.AddChild(kLayoutTable);
  return page;
}

TEST(EngineStores, TwoProcessesLearningAtOnceKeepEachOthersLayoutsAndRegions) {
  test::MemoryFiles files;
  EngineStores first(files), second(files);
  first.Load();
  second.Load();
  ASSERT_EQ(first.LearnLayout("h", Tables(1)), 1);
  // The second has not seen the first's layout: it takes the next id, and learning the first's
  // layout again finds it instead of making a second entry.
  EXPECT_EQ(second.LearnLayout("h", Tables(2)), 2);
  EXPECT_EQ(second.LearnLayout("h", Tables(1)), 1);
  first.ReplaceRegions(1, {StoredRegion{RegionKind::kSelected, 1, {{"frame", 0}}}});
  second.ReplaceRegions(2, {StoredRegion{RegionKind::kSelected, 2, {{"frame", 0}}}});

  EngineStores later(files);
  later.Load();
  EXPECT_EQ(later.layouts().entries().size(), 2u);
  EXPECT_TRUE(later.selections().HasRegions(1, RegionKind::kSelected));
  EXPECT_TRUE(later.selections().HasRegions(2, RegionKind::kSelected));
}

TEST(EngineStores, FilesThatCannotBeReadOrWrittenAreSilent) {
  test::MemoryFiles files;
  EngineStores stores(files);
  stores.Load();
  EXPECT_TRUE(stores.layouts().entries().empty());
  EXPECT_EQ(stores.LearnLayout("h", Tables(1)), 1);
  files.refuse_writes = true;
  // Kept for the rest of the run, though not on disk.
  EXPECT_EQ(stores.LearnLayout("i", Tables(1)), 2);
  EngineStores back(files);
  back.Load();
  EXPECT_EQ(back.layouts().entries().size(), 1u);
}

}  // namespace
}  // namespace ph
