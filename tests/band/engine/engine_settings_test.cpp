// The band's reading of the selection values: REG_BINARY of the right width only, never creating keys.
#include "band/engine/engine_settings.h"

#include <gtest/gtest.h>

#include "common/settings_names.h"
#include "controller/shell/settings.h"
#include "tests/support/test_registries.h"

namespace ph {
namespace {

class BandSettings : public ::testing::TestWithParam<test::RegistryKind> {
 protected:
  std::unique_ptr<Registry> reg_ = GetParam().make();
};

void ExpectDefaults(const EngineSettings& s) {
  EXPECT_EQ(s.highlight_color, "#ffcccc");
  EXPECT_EQ(s.normal_mod, 2u);
  EXPECT_EQ(s.multi_mod, 1u);
  EXPECT_EQ(s.deselect_mod, 4u);
  EXPECT_EQ(s.exclude_table_mod, 6u);
  EXPECT_EQ(s.suppress_hyperlinks, 1);
}

TEST_P(BandSettings, WithoutTheProductKeyDefaultsStandAndNoKeyIsCreated) {
  EngineSettings s;
  ReadEngineSettings(*reg_, &s);
  ExpectDefaults(s);
  EXPECT_EQ(reg_->Open(RegistryRoot::kCurrentUser, reg::kProductKey, RegistryAccess::kRead), nullptr);
}

TEST_P(BandSettings, ReadsWhatTheControllerSaved) {
  SettingsRecord saved;
  saved.highlight_color = MakeColorRef(0x12, 0xAB, 0x00);
  saved.normal_mod = 3;
  saved.multi_mod = 0;
  saved.deselect_mod = 7;
  saved.exclude_table_mod = 1;
  saved.suppress_hyperlinks = 0;
  SaveSettings(*reg_, saved, "C:\\PageHarvest.exe");

  EngineSettings s;
  ReadEngineSettings(*reg_, &s);
  EXPECT_EQ(s.highlight_color, "#12ab00");
  EXPECT_EQ(s.normal_mod, 3u);
  EXPECT_EQ(s.multi_mod, 0u);
  EXPECT_EQ(s.deselect_mod, 7u);
  EXPECT_EQ(s.exclude_table_mod, 1u);
  EXPECT_EQ(s.suppress_hyperlinks, 0);
}

TEST_P(BandSettings, ValuesOfAnotherTypeOrWidthAreIgnoredWhileTheControllerReadsThem) {
  auto key = reg_->Create(RegistryRoot::kCurrentUser, reg::kProductKey);
  const std::uint32_t seven = 7;
  key->Set(reg::kNormalHotkeyMod, RegistryType::kDword, &seven, 4);
  key->Set(reg::kMultiHotkeyMod, RegistryType::kBinary, &seven, 4);
  key->Set(reg::kHighlightColor, RegistryType::kBinary, &seven, 2);
  key->Set(reg::kSuppressHyperlink, RegistryType::kDword, "\0\0\0\0", 4);

  EngineSettings band;
  ReadEngineSettings(*reg_, &band);
  ExpectDefaults(band);

  SettingsRecord controller;
  LoadSettings(*reg_, &controller);
  EXPECT_EQ(controller.normal_mod, 7);
  EXPECT_EQ(controller.suppress_hyperlinks, 0);
}

TEST_P(BandSettings, AReadKeepsWhatTheRecordHeldForValuesThatAreMissing) {
  auto key = reg_->Create(RegistryRoot::kCurrentUser, reg::kProductKey);
  SetBinaryU16(*key, reg::kDeselectHotkeyMod, 2);
  EngineSettings s;
  s.highlight_color = "#000000";
  ReadEngineSettings(*reg_, &s);
  EXPECT_EQ(s.highlight_color, "#000000");
  EXPECT_EQ(s.deselect_mod, 2u);
}

TEST_P(BandSettings, AutoSelectionModeIsAFourByteBinaryThatDefaultsToTheCellsRule) {
  EngineSettings s;
  ReadEngineSettings(*reg_, &s);
  EXPECT_EQ(s.auto_selection_mode, 0);
  auto key = reg_->Create(RegistryRoot::kCurrentUser, reg::kProductKey);
  const std::uint32_t one = 1;
  key->Set(reg::kAutoSelectionMode, RegistryType::kDword, &one, 4);
  ReadEngineSettings(*reg_, &s);
  EXPECT_EQ(s.auto_selection_mode, 0);
  key->Set(reg::kAutoSelectionMode, RegistryType::kBinary, &one, 4);
  ReadEngineSettings(*reg_, &s);
  EXPECT_EQ(s.auto_selection_mode, 1);
}

INSTANTIATE_TEST_SUITE_P(Registries, BandSettings, ::testing::ValuesIn(test::TestRegistries()),
                         test::RegistryKindName());

}  // namespace
}  // namespace ph
