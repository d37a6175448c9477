// "regions.dat": each record's fingerprint comes back to its region, and a file that is damaged,
// cut, missing or written for other records gives none (Quick Save then goes by paths).
#include "band/engine/selection_store.h"

#include <gtest/gtest.h>

#include "common/le_io.h"
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

// A file as the first version wrote it: no link text in its records.
Bytes FirstVersionFile(const StoredRegion& region) {
  const RegionFingerprint& f = *region.fingerprint;
  ByteWriter out;
  out.Raw("PHRG", 4);
  out.U32(1);
  WriteRegionRecord(region, &out);
  auto mark = [&](const ElementMark& m) {
    out.String(m.tag);
    out.String(m.id);
    out.U32(static_cast<std::uint32_t>(m.classes.size()));
    for (const auto& c : m.classes) out.String(c);
  };
  mark(f.shape.self);
  out.U32(static_cast<std::uint32_t>(f.shape.ancestors.size()));
  for (const auto& m : f.shape.ancestors) mark(m);
  out.U32(static_cast<std::uint32_t>(f.shape.child_tags.size()));
  for (const auto& tag : f.shape.child_tags) out.String(tag);
  out.I32(f.sibling_index);
  out.U32(f.text_length);
  out.I32(0);
  Bytes bytes = out.Take();
  std::uint32_t h = 2166136261u;  // the checksum the file ends with (FNV-1a)
  for (std::uint8_t b : bytes) h = (h ^ b) * 16777619u;
  ByteWriter sum;
  sum.U32(h);
  bytes.insert(bytes.end(), sum.bytes().begin(), sum.bytes().end());
  return bytes;
}

TEST(RegionFile, AFileOfTheFirstVersionStillGivesItsFingerprintsWithoutTheLinkText) {
  Windows1252 cp;
  auto doc = MemoryDocument::Parse("<div class=story><p>Story and <a href=/x>a link</a></p></div>", u"http://h.test/");
  SelectionStore stored;
  stored.RecordRegions(2, RegionKind::kSelected, {doc->First("div")}, doc, cp);
  EXPECT_EQ(stored.regions()[0].fingerprint->link_text_length, 6u);

  SelectionStore back;
  back.LoadBytes(stored.SaveBytes());
  back.LoadFingerprintBytes(FirstVersionFile(stored.regions()[0]));
  ASSERT_TRUE(back.regions()[0].fingerprint);
  RegionFingerprint expected = *stored.regions()[0].fingerprint;
  expected.link_text_length.reset();
  EXPECT_EQ(*back.regions()[0].fingerprint, expected);
  // Written again, it keeps not knowing rather than claiming no links.
  SelectionStore again;
  again.LoadBytes(back.SaveBytes());
  again.LoadFingerprintBytes(back.SaveFingerprintBytes());
  EXPECT_EQ(*again.regions()[0].fingerprint, expected);
}

}  // namespace
}  // namespace ph
