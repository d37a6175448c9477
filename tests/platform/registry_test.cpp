// The in-memory registry behaves as the Windows registry does where the settings depend on it.
#include <gtest/gtest.h>

#include "platform/memory_registry.h"

namespace ph {
namespace {

constexpr RegistryRoot kUser = RegistryRoot::kCurrentUser;

TEST(MemoryRegistry, CreateMakesParentsAndOpenFindsOnlyExistingKeys) {
  MemoryRegistry reg;
  EXPECT_EQ(reg.Open(kUser, "Software\\A", RegistryAccess::kRead), nullptr);
  ASSERT_NE(reg.Create(kUser, "Software\\A\\B"), nullptr);
  EXPECT_TRUE(reg.KeyExists(kUser, "Software\\A"));
  EXPECT_NE(reg.Open(kUser, "software\\a\\b", RegistryAccess::kRead), nullptr);
  EXPECT_EQ(reg.Open(RegistryRoot::kLocalMachine, "Software\\A", RegistryAccess::kRead), nullptr);
}

TEST(MemoryRegistry, ValuesKeepTypeAndBytesAndNamesIgnoreCase) {
  MemoryRegistry reg;
  auto key = reg.Create(kUser, "K");
  ASSERT_TRUE(SetBinaryU16(*key, "Mod", 0x0102));
  ASSERT_TRUE(SetStringValue(*key, "Text", "abc"));
  RegistryValue v;
  ASSERT_EQ(key->Query("MOD", 16, &v), QueryStatus::kOk);
  EXPECT_EQ(v.type, RegistryType::kBinary);
  EXPECT_EQ(v.data, (Bytes{2, 1}));
  ASSERT_EQ(key->Query("text", 16, &v), QueryStatus::kOk);
  EXPECT_EQ(v.type, RegistryType::kString);
  EXPECT_EQ(v.data, (Bytes{'a', 'b', 'c', 0}));
  EXPECT_EQ(key->Query("none", 16, &v), QueryStatus::kMissing);
}

TEST(MemoryRegistry, QueryRefusesDataOverTheBoundButReportsItsType) {
  MemoryRegistry reg;
  auto key = reg.Create(kUser, "K");
  const std::string big(100000, 'x');
  SetStringValue(*key, "Big", big);
  RegistryValue v;
  EXPECT_EQ(key->Query("Big", 1000, &v), QueryStatus::kTooLarge);
  EXPECT_EQ(v.type, RegistryType::kString);
  EXPECT_TRUE(v.data.empty());
  std::string text = "kept";
  EXPECT_FALSE(QueryStringValue(*key, "Big", 1000, &text));
  EXPECT_EQ(text, "kept");
}

TEST(MemoryRegistry, ReadOnlyKeysRefuseWritesAndDeletesSucceedForMissingValues) {
  MemoryRegistry reg;
  reg.Create(kUser, "K");
  auto ro = reg.Open(kUser, "K", RegistryAccess::kRead);
  EXPECT_FALSE(SetBinaryU32(*ro, "V", 1));
  auto rw = reg.Open(kUser, "K", RegistryAccess::kWrite);
  EXPECT_TRUE(SetBinaryU32(*rw, "V", 1));
  EXPECT_TRUE(rw->Delete("V"));
  EXPECT_TRUE(rw->Delete("V"));
}

TEST(MemoryRegistry, StringReadStopsAtTheFirstZeroByte) {
  MemoryRegistry reg;
  auto key = reg.Create(kUser, "K");
  const char raw[] = {'a', 'b', 0, 'c'};
  key->Set("S", RegistryType::kString, raw, sizeof raw);
  std::string text;
  ASSERT_TRUE(QueryStringValue(*key, "S", 100, &text));
  EXPECT_EQ(text, "ab");
  // Without any terminator the whole data is the text.
  key->Set("N", RegistryType::kString, "xyz", 3);
  ASSERT_TRUE(QueryStringValue(*key, "N", 100, &text));
  EXPECT_EQ(text, "xyz");
}

TEST(MemoryRegistry, DeleteTreeRemovesTheKeyAndWhatIsBelowButNotItsNeighbours) {
  MemoryRegistry reg;
  reg.Create(kUser, "A\\B\\C");
  reg.Create(kUser, "A\\BB");
  EXPECT_TRUE(reg.DeleteTree(kUser, "A\\B"));
  EXPECT_FALSE(reg.KeyExists(kUser, "A\\B"));
  EXPECT_FALSE(reg.KeyExists(kUser, "A\\B\\C"));
  EXPECT_TRUE(reg.KeyExists(kUser, "A\\BB"));
}

}  // namespace
}  // namespace ph

namespace ph {
namespace {

TEST(MemoryRegistryPersistence, SerializedRegistryRestoresKeysValuesAndTypes) {
  MemoryRegistry a;
  auto key = a.Create(RegistryRoot::kCurrentUser, "Software\\X\\Y");
  SetBinaryU16(*key, "Mod", 6);
  SetStringValue(*key, "Name", "value");
  a.Create(RegistryRoot::kLocalMachine, "Empty");

  MemoryRegistry b;
  ASSERT_TRUE(b.Restore(a.Serialize()));
  EXPECT_EQ(b.Serialize(), a.Serialize());
  RegistryValue v;
  ASSERT_TRUE(b.GetValue(RegistryRoot::kCurrentUser, "software\\x\\y", "MOD", &v));
  EXPECT_EQ(v.type, RegistryType::kBinary);
  EXPECT_EQ(v.data, (Bytes{6, 0}));
  EXPECT_TRUE(b.KeyExists(RegistryRoot::kLocalMachine, "Empty"));
}

TEST(MemoryRegistryPersistence, DamagedDataIsRefusedAndChangesNothing) {
  MemoryRegistry a;
  SetStringValue(*a.Create(RegistryRoot::kCurrentUser, "K"), "V", "text");
  const Bytes good = a.Serialize();

  MemoryRegistry b;
  b.Create(RegistryRoot::kCurrentUser, "Kept");
  for (std::size_t cut = 0; cut < good.size(); ++cut)
    EXPECT_FALSE(b.Restore(Bytes(good.begin(), good.begin() + cut))) << cut;
  Bytes huge_count = good;
  huge_count[10] = 0xFF;  // the key count
  EXPECT_FALSE(b.Restore(huge_count));
  EXPECT_TRUE(b.KeyExists(RegistryRoot::kCurrentUser, "Kept"));
  EXPECT_FALSE(b.KeyExists(RegistryRoot::kCurrentUser, "K"));
}

}  // namespace
}  // namespace ph
