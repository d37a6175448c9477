// The settings record against the registry: defaults, encodings, the Run value and the password.
#include "controller/shell/settings.h"

#include <gtest/gtest.h>

#include "common/settings_names.h"
#include "platform/code_page.h"
#include "tests/support/test_registries.h"

namespace ph {
namespace {

using test::StoredValue;
using test::ValueExists;

constexpr char kExe[] = "C:\\Program Files\\PageHarvest\\PageHarvest.exe";

class Settings : public ::testing::TestWithParam<test::RegistryKind> {
 protected:
  std::unique_ptr<Registry> reg_ = GetParam().make();

  std::unique_ptr<RegistryKey> Key(const char* path) { return reg_->Create(RegistryRoot::kCurrentUser, path); }
  SettingsRecord Loaded() {
    SettingsRecord s;
    LoadSettings(*reg_, &s);
    return s;
  }
};

SettingsRecord Changed() {
  SettingsRecord s;
  s.highlight_color = 0x00123456;
  s.auto_start = 1;
  s.suppress_hyperlinks = 0;
  s.append_files = 1;
  s.datetime_url = 1;
  s.name_append_type = 2;
  s.name_append_len = 49;
  s.normal_mod = 7;
  s.multi_mod = 0;
  s.deselect_mod = 3;
  s.exclude_table_mod = 5;
  s.db_type = 1;
  s.dsn = "Content DSN";
  s.file_dsn = "C:\\data\\content.dsn";
  s.use_file_dsn = 1;
  s.user = "grabber";
  s.password = "s3cret!";
  s.extra = "Option=3";
  s.odbc_table = "content";
  s.access_path = "C:\\data\\content.mdb";
  s.access_password = "PaSs";
  s.access_table = "grabs";
  return s;
}

void ExpectSameRecord(const SettingsRecord& a, const SettingsRecord& b) {
  EXPECT_EQ(a.highlight_color, b.highlight_color);
  EXPECT_EQ(a.auto_start, b.auto_start);
  EXPECT_EQ(a.suppress_hyperlinks, b.suppress_hyperlinks);
  EXPECT_EQ(a.append_files, b.append_files);
  EXPECT_EQ(a.datetime_url, b.datetime_url);
  EXPECT_EQ(a.name_append_type, b.name_append_type);
  EXPECT_EQ(a.name_append_len, b.name_append_len);
  EXPECT_EQ(a.normal_mod, b.normal_mod);
  EXPECT_EQ(a.multi_mod, b.multi_mod);
  EXPECT_EQ(a.deselect_mod, b.deselect_mod);
  EXPECT_EQ(a.exclude_table_mod, b.exclude_table_mod);
  EXPECT_EQ(a.db_type, b.db_type);
  EXPECT_EQ(a.dsn, b.dsn);
  EXPECT_EQ(a.file_dsn, b.file_dsn);
  EXPECT_EQ(a.use_file_dsn, b.use_file_dsn);
  EXPECT_EQ(a.user, b.user);
  EXPECT_EQ(a.password, b.password);
  EXPECT_EQ(a.extra, b.extra);
  EXPECT_EQ(a.odbc_table, b.odbc_table);
  EXPECT_EQ(a.access_path, b.access_path);
  EXPECT_EQ(a.access_password, b.access_password);
  EXPECT_EQ(a.access_table, b.access_table);
}

TEST_P(Settings, FirstStartKeepsDefaultsAndLeavesTheThreeKeysBehindEmpty) {
  ExpectSameRecord(Loaded(), SettingsRecord{});
  for (const char* path : {reg::kProductKey, reg::kOdbcKey, reg::kAccessKey}) {
    EXPECT_NE(reg_->Open(RegistryRoot::kCurrentUser, path, RegistryAccess::kRead), nullptr) << path;
  }
  EXPECT_FALSE(ValueExists(*reg_, reg::kProductKey, reg::kHighlightColor));
  EXPECT_FALSE(ValueExists(*reg_, reg::kRunKey, reg::kRunValue));
}

TEST_P(Settings, SaveThenLoadGivesTheSameRecord) {
  const SettingsRecord saved = Changed();
  SaveSettings(*reg_, saved, kExe);
  ExpectSameRecord(Loaded(), saved);
}

TEST_P(Settings, NumbersAreBinaryOfTheirWidthAndStringsCarryTheirTerminator) {
  SaveSettings(*reg_, Changed(), kExe);
  const struct {
    const char* key;
    const char* name;
    Bytes bytes;
  } kBinary[] = {
      {reg::kProductKey, reg::kHighlightColor, {0x56, 0x34, 0x12, 0}},
      {reg::kProductKey, reg::kSuppressHyperlink, {0, 0, 0, 0}},
      {reg::kProductKey, reg::kNormalHotkeyMod, {7, 0}},
      {reg::kProductKey, reg::kMultiHotkeyMod, {0, 0}},
      {reg::kProductKey, reg::kDeselectHotkeyMod, {3, 0}},
      {reg::kProductKey, reg::kExcludeTableHotkeyMod, {5, 0}},
      {reg::kProductKey, reg::kNameAppendType, {2, 0, 0, 0}},
      {reg::kProductKey, reg::kNameAppendLen, {49, 0, 0, 0}},
      {reg::kProductKey, reg::kDbType, {1, 0, 0, 0}},
      {reg::kProductKey, reg::kAppendFiles, {1, 0, 0, 0}},
      {reg::kProductKey, reg::kDatetimeUrl, {1, 0, 0, 0}},
      {reg::kOdbcKey, reg::kUseFileDsn, {1, 0, 0, 0}},
  };
  for (const auto& b : kBinary) {
    const RegistryValue v = StoredValue(*reg_, b.key, b.name);
    EXPECT_EQ(v.type, RegistryType::kBinary) << b.name;
    EXPECT_EQ(v.data, b.bytes) << b.name;
  }
  const RegistryValue dsn = StoredValue(*reg_, reg::kOdbcKey, reg::kDsn);
  EXPECT_EQ(dsn.type, RegistryType::kString);
  EXPECT_EQ(std::string(dsn.data.begin(), dsn.data.end()), std::string("Content DSN") + '\0');
  const RegistryValue run = StoredValue(*reg_, reg::kRunKey, reg::kRunValue);
  EXPECT_EQ(run.type, RegistryType::kString);
  EXPECT_EQ(std::string(run.data.begin(), run.data.end()), std::string(kExe) + '\0');
  // Values that only the band or "/register" write are left alone.
  EXPECT_FALSE(ValueExists(*reg_, reg::kProductKey, reg::kControllerPath));
  EXPECT_FALSE(ValueExists(*reg_, reg::kProductKey, reg::kBandIconSize));
}

TEST_P(Settings, RunValueExistsExactlyWhileAutoStartIsOn) {
  SettingsRecord s;
  SaveSettings(*reg_, s, kExe);  // off, and no value to delete: silent
  EXPECT_FALSE(ValueExists(*reg_, reg::kRunKey, reg::kRunValue));
  s.auto_start = 1;
  SaveSettings(*reg_, s, kExe);
  EXPECT_TRUE(ValueExists(*reg_, reg::kRunKey, reg::kRunValue));
  EXPECT_EQ(Loaded().auto_start, 1);
  s.auto_start = 0;
  SaveSettings(*reg_, s, kExe);
  EXPECT_FALSE(ValueExists(*reg_, reg::kRunKey, reg::kRunValue));
  EXPECT_EQ(Loaded().auto_start, 0);
}

TEST_P(Settings, RunValueOfAnotherTypeMeansOffAndIsDeletedByTheNextSave) {
  const std::uint32_t one = 1;
  Key(reg::kRunKey)->Set(reg::kRunValue, RegistryType::kDword, &one, 4);
  SettingsRecord s = Loaded();
  EXPECT_EQ(s.auto_start, 0);
  SaveSettings(*reg_, s, kExe);
  EXPECT_FALSE(ValueExists(*reg_, reg::kRunKey, reg::kRunValue));
}

TEST_P(Settings, AnyRunStringCountsAsOnWhateverItsPathOrLength) {
  SetStringValue(*Key(reg::kRunKey), reg::kRunValue, std::string(2000, 'p'));
  EXPECT_EQ(Loaded().auto_start, 1);
}

TEST_P(Settings, PasswordsSurviveEveryByteAndAreNeverStoredInPlain) {
  std::string every;
  for (int c = 0x20; c < 0x100; ++c) every += static_cast<char>(c);
  SettingsRecord s;
  s.password = every;
  s.access_password = "PPPPPPPPPP" + every;  // a repeated letter meets every key byte
  SaveSettings(*reg_, s, kExe);

  // Stored as the Windows-1252 characters of the scrambled bytes, in the code page the program
  // runs with: so a UTF-8 code page keeps every byte, and values stored on a Western Windows read.
  const RegistryValue stored = StoredValue(*reg_, reg::kOdbcKey, reg::kPass);
  const std::string text(stored.data.begin(), stored.data.end() - 1);
  EXPECT_NE(text, every);
  EXPECT_EQ(Windows1252().ToAnsi(MakeSystemCodePage()->FromAnsi(text)), ScramblePassword(every));
  const SettingsRecord loaded = Loaded();
  EXPECT_EQ(loaded.password, every);
  EXPECT_EQ(loaded.access_password, s.access_password);
  EXPECT_EQ(UnscramblePassword(ScramblePassword(every)), every);
}

TEST_P(Settings, ControllerReadsNumbersOfAnyTypeThatFitTheirField) {
  auto key = Key(reg::kProductKey);
  const std::uint32_t dword_mod = 7;
  key->Set(reg::kNormalHotkeyMod, RegistryType::kDword, &dword_mod, 4);
  const std::uint32_t too_big_for_16_bits = 0x10001;
  key->Set(reg::kMultiHotkeyMod, RegistryType::kDword, &too_big_for_16_bits, 4);
  const std::uint8_t one_byte = 3;
  key->Set(reg::kNameAppendType, RegistryType::kBinary, &one_byte, 1);
  key->Set(reg::kNameAppendLen, RegistryType::kBinary, "", 0);

  const SettingsRecord s = Loaded();
  EXPECT_EQ(s.normal_mod, 7);
  EXPECT_EQ(s.multi_mod, 1);  // does not fit: default kept
  EXPECT_EQ(s.name_append_type, 3);
  EXPECT_EQ(s.name_append_len, 10);
}

TEST_P(Settings, OverlongStringsKeepTheField) {
  SetStringValue(*Key(reg::kOdbcKey), reg::kDsn, std::string(kMaxSettingString + 1, 'x'));
  SetStringValue(*Key(reg::kOdbcKey), reg::kUser, "fine");
  const SettingsRecord s = Loaded();
  EXPECT_EQ(s.dsn, "");
  EXPECT_EQ(s.user, "fine");
}

INSTANTIATE_TEST_SUITE_P(Registries, Settings, ::testing::ValuesIn(test::TestRegistries()),
                         test::RegistryKindName());

TEST(ConnectionString, IsAssembledInOrderWithoutQuoting) {
  SettingsRecord s;
  s.dsn = "Grabs";
  EXPECT_EQ(ConnectionString(s), "ODBC;DSN=Grabs");
  s.user = "me";
  s.extra = "DATABASE=x;PORT=3306";
  EXPECT_EQ(ConnectionString(s), "ODBC;DSN=Grabs;UID=me;DATABASE=x;PORT=3306");
  s.password = "p;w";
  EXPECT_EQ(ConnectionString(s), "ODBC;DSN=Grabs;UID=me;PWD=p;w;DATABASE=x;PORT=3306");
  s.use_file_dsn = 1;
  s.file_dsn = "C:\\a.dsn";
  s.user.clear();
  EXPECT_EQ(ConnectionString(s), "ODBC;FILEDSN=C:\\a.dsn;PWD=p;w;DATABASE=x;PORT=3306");
}

}  // namespace
}  // namespace ph
