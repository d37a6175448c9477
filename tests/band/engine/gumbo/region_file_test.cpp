// "regions.dat": each record's fingerprint comes back to its region, and a file that is damaged,
// cut, missing or written for other records gives none (Quick Save then goes by paths).
#include "band/engine/selection_store.h"

#include <gtest/gtest.h>

#include "tests/band/engine/gumbo/engine_harness.h"

namespace ph {
namespace {

TEST(RegionFile, FingerprintsComeBackOnlyFromAnIntactFileForTheSameRecords) {
  Windows1252 cp;
  auto doc = MemoryDocument::Parse(
      "<div id=wrap class='page wide'><div class=main><p id=a class='x y'>Alpha text</p><p>Beta</p></div></div>",
      u"http://h.test/");
  SelectionStore stored;
  stored.RecordRegions(3, RegionKind::kSelected, {doc->ById("a"), doc->First("p")->Parent()}, doc, cp);
  const RegionFingerprint& a = *stored.regions()[0].fingerprint;
  EXPECT_EQ(a.shape.self.id, "a");
  EXPECT_EQ(a.shape.self.classes, (std::vector<std::string>{"x", "y"}));
  ASSERT_EQ(a.shape.ancestors.size(), 2u);  // the main block and the wrapper; never the body
  EXPECT_EQ(a.shape.ancestors[1].classes, (std::vector<std::string>{"page", "wide"}));
  EXPECT_EQ(a.text_length, 10u);
  EXPECT_EQ(stored.regions()[1].fingerprint->shape.child_tags, std::vector<std::string>{"P"});

  const Bytes file = stored.SaveFingerprintBytes();
  auto reload = [&](const Bytes& regions, const SelectionStore& from) {
    SelectionStore s;
    s.LoadBytes(from.SaveBytes());
    s.LoadFingerprintBytes(regions);
    return s;
  };
  SelectionStore back = reload(file, stored);
  EXPECT_EQ(back.regions()[0].fingerprint, stored.regions()[0].fingerprint);
  EXPECT_EQ(back.regions()[1].fingerprint, stored.regions()[1].fingerprint);

  Bytes damaged = file;
  damaged[damaged.size() / 2] ^= 0x20;
  Bytes cut(file.begin(), file.end() - 1);
  for (const Bytes& bad : {damaged, cut, Bytes{}}) {
    SelectionStore s = reload(bad, stored);
    EXPECT_FALSE(s.regions()[0].fingerprint || s.regions()[1].fingerprint);
  }

  // selections.dat written without this file (by another band, or after the data was cleared): a
  // record whose path differs keeps no fingerprint, the others keep theirs.
  SelectionStore other;
  other.Append(stored.regions()[0]);
  other.Append(StoredRegion{RegionKind::kSelected, 3, {{"frame", 0}, {"DIV", 5}}});
  SelectionStore mixed = reload(file, other);
  EXPECT_TRUE(mixed.regions()[0].fingerprint);
  EXPECT_FALSE(mixed.regions()[1].fingerprint);
}

}  // namespace
}  // namespace ph
