// OK of the settings dialog on its pages' values: the General page's checks in order, what a
// refusal leaves in the record, the database pages' copies, and clearing the quick-save data.
#include "controller/shell/settings_pages.h"

#include <gtest/gtest.h>

#include "common/settings_names.h"
#include "controller/shell/settings.h"
#include "platform/memory_registry.h"
#include "tests/controller/intake/intake_fakes.h"

namespace ph {
namespace {

constexpr char kExe[] = "C:\\PageHarvest\\PageHarvest.exe";

class SettingsPagesTest : public ::testing::Test {
 protected:
  SettingsPagesTest() { pages_.general = GeneralPageFromSettings(settings_); }

  bool Confirm() { return ConfirmSettings(pages_, &settings_, user_, registry_, kExe); }
  bool Saved() const {
    RegistryValue value;
    return registry_.GetValue(RegistryRoot::kCurrentUser, reg::kProductKey, reg::kNameAppendLen, &value);
  }

  SettingsRecord settings_;
  SettingsPages pages_;
  ScriptedUser user_;
  MemoryRegistry registry_;
};

TEST_F(SettingsPagesTest, DefaultsAreAcceptedAndSaved) {
  pages_.odbc_checked = true;
  EXPECT_TRUE(Confirm());
  EXPECT_TRUE(user_.messages().empty());
  EXPECT_TRUE(Saved());
}

TEST_F(SettingsPagesTest, KeySetsAreCheckedEmptyFirstThenEqualWithoutIconAndNothingStored) {
  const struct {
    std::array<ModifierSet, kKeyBoxCount> keys;
    const char* message;
  } cases[] = {
      // An empty set wins over two equal sets elsewhere.
      {{kModCtrl, kModCtrl, 0, kModAlt}, "You must select modifier keys for both selection methods"},
      {{kModCtrl, kModShift, kModAlt, 8}, "You must select modifier keys for both selection methods"},
      {{kModCtrl, kModCtrl, kModAlt, kModShift}, "You must choose different modifier keys for the hotkeys"},
      {{kModCtrl | kModAlt, kModShift, kModAlt, MakeModifierSet(false, true, true)},
       "You must choose different modifier keys for the hotkeys"},
  };
  for (const auto& c : cases) {
    ScriptedUser user;
    pages_.general.keys = c.keys;
    pages_.general.auto_start = true;
    ASSERT_FALSE(ConfirmSettings(pages_, &settings_, user, registry_, kExe));
    ASSERT_EQ(user.messages().size(), 1u);
    EXPECT_EQ(user.messages()[0].text, c.message);
    EXPECT_EQ(user.messages()[0].caption, "Error");
    EXPECT_EQ(user.messages()[0].icon, MessageIcon::kNone);
    EXPECT_EQ(settings_.auto_start, 0);
  }
  EXPECT_FALSE(Saved());
}

TEST_F(SettingsPagesTest, LengthIsReadAsAtoiDoesAndOnlyOneToFortyNineIsAccepted) {
  const struct {
    const char* text;
    long number;
  } cases[] = {{"12abc", 12}, {"  7", 7}, {"+49", 49}, {"-3", -3}, {"", 0},
               {"abc", 0},    {"0", 0},   {"50", 50}};
  for (const auto& c : cases) EXPECT_EQ(LeadingNumber(c.text), c.number) << c.text;

  for (const char* text : {"0", "50", "", "letters", "99999999999999999999"}) {
    ScriptedUser user;
    pages_.general.length_text = text;
    EXPECT_FALSE(ConfirmSettings(pages_, &settings_, user, registry_, kExe)) << text;
    ASSERT_EQ(user.messages().size(), 1u);
    EXPECT_EQ(user.messages()[0].text, "Length of appended content must between 0-50 (exclusive)");
    EXPECT_EQ(user.messages()[0].icon, MessageIcon::kError);
  }
  pages_.general.length_text = "12abc";
  EXPECT_TRUE(Confirm());
  EXPECT_EQ(settings_.name_append_len, 12);
}

TEST_F(SettingsPagesTest, RefusedLengthLeavesFlagsKeysAndColourInTheRecordButNotTheRest) {
  pages_.general.auto_start = true;
  pages_.general.suppress_hyperlinks = false;
  pages_.general.datetime_url = true;
  pages_.general.color = 0x00336699;
  pages_.general.keys = {kModAlt, kModCtrl, kModShift, kModCtrl | kModShift};
  pages_.general.append_type = 2;
  pages_.general.length_text = "0";
  pages_.odbc.dsn = "typed";
  EXPECT_FALSE(Confirm());
  EXPECT_EQ(settings_.auto_start, 1);
  EXPECT_EQ(settings_.suppress_hyperlinks, 0);
  EXPECT_EQ(settings_.datetime_url, 1);
  EXPECT_EQ(settings_.highlight_color, 0x00336699u);
  EXPECT_EQ(settings_.normal_mod, kModAlt);
  EXPECT_EQ(settings_.exclude_table_mod, kModCtrl | kModShift);
  EXPECT_EQ(settings_.name_append_len, 10);
  EXPECT_EQ(settings_.name_append_type, 1);
  EXPECT_EQ(settings_.dsn, "");
  EXPECT_FALSE(Saved());
}

TEST_F(SettingsPagesTest, AppendTypeOutsideTheButtonsShowsNoneAndIsKept) {
  settings_.name_append_type = 7;
  pages_.general = GeneralPageFromSettings(settings_);
  EXPECT_EQ(pages_.general.append_type, -1);
  EXPECT_TRUE(Confirm());
  EXPECT_EQ(settings_.name_append_type, 7);
}

TEST_F(SettingsPagesTest, EveryPageCopyGoesToItsOwnField) {
  SettingsRecord typed;
  typed.highlight_color = 0x00010203;
  typed.auto_start = 1;
  typed.suppress_hyperlinks = 0;
  typed.datetime_url = 1;
  typed.name_append_type = 0;
  typed.name_append_len = 33;
  typed.normal_mod = 7;
  typed.multi_mod = 3;
  typed.deselect_mod = 5;
  typed.exclude_table_mod = 6;
  typed.db_type = 1;
  typed.dsn = "dsn";
  typed.file_dsn = "file.dsn";
  typed.use_file_dsn = 1;
  typed.user = "user";
  typed.password = "pw";
  typed.extra = "extra";
  typed.odbc_table = "odbc table";
  typed.access_path = "a.mdb";
  typed.access_password = "apw";
  typed.access_table = "access table";
  EXPECT_EQ(DatabasePageFromSettings(typed), DatabaseChoice::kAccess);
  pages_.general = GeneralPageFromSettings(typed);
  pages_.odbc_checked = false;
  pages_.odbc = OdbcPageFromSettings(typed);
  pages_.access = AccessPageFromSettings(typed);
  ASSERT_TRUE(Confirm());

  SettingsRecord loaded;
  LoadSettings(registry_, &loaded);
  for (const SettingsRecord* s : {&settings_, &loaded}) {
    EXPECT_EQ(s->highlight_color, typed.highlight_color);
    EXPECT_EQ(s->auto_start, 1);
    EXPECT_EQ(s->suppress_hyperlinks, 0);
    EXPECT_EQ(s->datetime_url, 1);
    EXPECT_EQ(s->name_append_type, 0);
    EXPECT_EQ(s->name_append_len, 33);
    EXPECT_EQ((std::array<int, 4>{s->normal_mod, s->multi_mod, s->deselect_mod, s->exclude_table_mod}),
              (std::array<int, 4>{7, 3, 5, 6}));
    EXPECT_EQ(s->db_type, 1);
    EXPECT_EQ(s->use_file_dsn, 1);
    EXPECT_EQ((std::vector<std::string>{s->dsn, s->file_dsn, s->user, s->password, s->extra, s->odbc_table,
                                        s->access_path, s->access_password, s->access_table}),
              (std::vector<std::string>{"dsn", "file.dsn", "user", "pw", "extra", "odbc table", "a.mdb", "apw",
                                        "access table"}));
  }
}

TEST(ClearQuickSaveData, NoKeepsTheFilesAndYesDeletesTheQuickSaveFiles) {
  test::MemoryFileSystem fs;
  for (const char* name : {"actions.dat", "selections.dat", "regions.dat", "layouts.dat", "settings.dat"})
    fs.files[fs.ModuleFolder() + name] = {1};
  ScriptedUser user;
  user.QueueAnswer(Answer::kNo);
  ClearQuickSaveData(user, fs);
  EXPECT_EQ(fs.files.size(), 5u);
  ASSERT_EQ(user.messages().size(), 1u);
  EXPECT_EQ(user.messages()[0].text, "Are you sure you want to clear all quick save data?");
  EXPECT_EQ(user.messages()[0].caption, "Confirm");
  EXPECT_EQ(user.messages()[0].buttons, MessageButtons::kYesNo);

  user.QueueAnswer(Answer::kYes);
  ClearQuickSaveData(user, fs);
  ASSERT_EQ(fs.files.size(), 1u);
  EXPECT_EQ(fs.files.begin()->first, "/app/settings.dat");
}

}  // namespace
}  // namespace ph
