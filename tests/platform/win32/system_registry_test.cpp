// The registry port over the real registry: types, sizes and bounds as the settings see them.
#include <gtest/gtest.h>

#include "platform/registry.h"
#include "tests/support/win32/scoped_user_hive.h"

namespace ph {
namespace {

class SystemRegistry : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(hive_.ok()); }
  test::ScopedUserHive hive_;
  std::unique_ptr<Registry> reg_ = MakeSystemRegistry();
};

TEST_F(SystemRegistry, OpenFailsForMissingKeysAndReadOnlyKeysRefuseWrites) {
  EXPECT_EQ(reg_->Open(RegistryRoot::kCurrentUser, "Software\\Nope", RegistryAccess::kRead), nullptr);
  ASSERT_NE(reg_->Create(RegistryRoot::kCurrentUser, "Software\\Here\\Deep"), nullptr);
  auto ro = reg_->Open(RegistryRoot::kCurrentUser, "Software\\Here", RegistryAccess::kRead);
  ASSERT_NE(ro, nullptr);
  EXPECT_FALSE(SetBinaryU32(*ro, "V", 1));
}

TEST_F(SystemRegistry, QueryReportsTypeAndExactBytes) {
  auto key = reg_->Create(RegistryRoot::kCurrentUser, "Software\\T");
  ASSERT_TRUE(SetBinaryU16(*key, "Mod", 6));
  ASSERT_TRUE(SetStringValue(*key, "Text", "abc"));
  RegistryValue v;
  ASSERT_EQ(key->Query("Mod", 8, &v), QueryStatus::kOk);
  EXPECT_EQ(v.type, RegistryType::kBinary);
  EXPECT_EQ(v.data, (Bytes{6, 0}));
  ASSERT_EQ(key->Query("Text", 8, &v), QueryStatus::kOk);
  EXPECT_EQ(v.type, RegistryType::kString);
  EXPECT_EQ(v.data, (Bytes{'a', 'b', 'c', 0}));
  EXPECT_EQ(key->Query("Missing", 8, &v), QueryStatus::kMissing);
}

TEST_F(SystemRegistry, HugeValuesAreRefusedWithoutBeingRead) {
  auto key = reg_->Create(RegistryRoot::kCurrentUser, "Software\\T");
  const std::string big(1 << 20, 'x');
  ASSERT_TRUE(SetStringValue(*key, "Big", big));
  RegistryValue v;
  EXPECT_EQ(key->Query("Big", 4096, &v), QueryStatus::kTooLarge);
  EXPECT_EQ(v.type, RegistryType::kString);
  EXPECT_TRUE(v.data.empty());
}

TEST_F(SystemRegistry, DeleteTreeRemovesTheKey) {
  reg_->Create(RegistryRoot::kCurrentUser, "Software\\Gone\\Sub");
  EXPECT_TRUE(reg_->DeleteTree(RegistryRoot::kCurrentUser, "Software\\Gone"));
  EXPECT_EQ(reg_->Open(RegistryRoot::kCurrentUser, "Software\\Gone", RegistryAccess::kRead), nullptr);
  EXPECT_TRUE(reg_->DeleteTree(RegistryRoot::kCurrentUser, "Software\\Gone"));
}

}  // namespace
}  // namespace ph
