// The settings dialog of PageHarvest.exe under Wine, used as a user would: opened from the tray
// menu, every kind of control changed, OK read back from the registry, the refusals, Cancel, the
// quick-save files, and the database pages' buttons against the fixture's real data sources.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <fstream>
#include <map>

#include "controller/outputs/database.h"
#include "resources/resource.h"
#include "tests/controller/database/test_databases.h"
#include "tests/controller/shell/win32/controller_program.h"
#include "tools/harness/win32/robot.h"

namespace ph::test {
namespace {

constexpr char kTitle[] = "PageHarvest Configuration";
constexpr char kRunKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";

// A value of the product key (or of one of its sub-keys), as bytes; empty when missing.
Bytes Stored(const char* name, const char* sub_key = nullptr) {
  const std::string key = sub_key ? std::string("Software\\PageHarvest\\") + sub_key : "Software\\PageHarvest";
  BYTE data[1024] = {};
  DWORD size = sizeof data;
  if (::RegGetValueA(HKEY_CURRENT_USER, key.c_str(), name, RRF_RT_ANY, nullptr, data, &size) != ERROR_SUCCESS)
    return {};
  return Bytes(data, data + size);
}

std::string StoredText(const char* name, const char* sub_key) {
  const Bytes bytes = Stored(name, sub_key);
  return bytes.empty() ? "" : std::string(bytes.begin(), bytes.end() - 1);
}

bool RunValueExists() {
  return ::RegGetValueA(HKEY_CURRENT_USER, kRunKey, "PageHarvest", RRF_RT_ANY, nullptr, nullptr, nullptr) ==
         ERROR_SUCCESS;
}

// A path of the build machine as the programs under Wine see it.
std::string WinePath(std::string path) {
  for (char& c : path)
    if (c == '/') c = '\\';
  return "Z:" + path;
}

bool Checked(HWND page, int id) { return ::IsDlgButtonChecked(page, id) == BST_CHECKED; }

class SettingsDialogTest : public ::testing::Test {
 protected:
  void SetUp() override { RemoveProductKey(); }
  void TearDown() override {
    program_.Stop();
    RemoveProductKey();
    ::RegDeleteKeyValueA(HKEY_CURRENT_USER, kRunKey, "PageHarvest");
  }

  // Starts the program and opens the dialog as a user does: a right click on the icon, then
  // "&Configuration..." by its mnemonic.
  HWND Open() {
    controller_ = program_.StartResident();
    if (!controller_) return nullptr;
    ::PostMessageA(controller_, WM_USER + 2, 0, WM_RBUTTONUP);
    const HWND menu = robot::WaitForWindow("", robot::kWaitMs, "#32768");
    if (!menu) return nullptr;
    ::PostMessageA(menu, WM_KEYDOWN, 'C', 1);
    ::PostMessageA(menu, WM_CHAR, 'c', 1);
    dialog_ = robot::WaitForWindow(kTitle);
    return dialog_;
  }

  HWND Page(int template_id) const { return ::GetDlgItem(dialog_, template_id); }

  // Presses OK in the message box of that title, after checking its text; the text, for more checks.
  std::string Answer(const char* title, int button = IDOK) {
    const HWND box = robot::WaitForWindow(title);
    if (!box) {
      ADD_FAILURE() << "no message box \"" << title << "\"; open: " << robot::DescribeDialogs();
      return "";
    }
    const std::string text = robot::MessageBoxText(box);
    robot::Click(box, button);
    EXPECT_TRUE(robot::WaitUntilGone(box));
    return text;
  }

  ControllerProgram program_;
  HWND controller_ = nullptr;
  HWND dialog_ = nullptr;
};

TEST_F(SettingsDialogTest, OpensOnceFromTheMenuWithTheGeneralPageAndSwitchesPagesByTheTree) {
  ASSERT_NE(Open(), nullptr) << robot::DescribeDialogs();
  ::PostMessageA(controller_, WM_COMMAND, ID_CONFIGURATION, 0);
  robot::Settle(controller_);
  ::Sleep(300);
  EXPECT_EQ(robot::WindowsTitled(kTitle).size(), 1u);

  const HWND tree = ::GetDlgItem(dialog_, IDC_PAGE_TREE);
  EXPECT_EQ(::SendMessageA(tree, TVM_GETCOUNT, 0, 0), 4);
  const LPARAM root = ::SendMessageA(tree, TVM_GETNEXTITEM, TVGN_ROOT, 0);
  const LPARAM database = ::SendMessageA(tree, TVM_GETNEXTITEM, TVGN_NEXT, root);
  EXPECT_TRUE(::SendMessageA(tree, TVM_GETITEMSTATE, database, TVIS_EXPANDED) & TVIS_EXPANDED);

  RECT tree_rect, page_rect;
  ::GetWindowRect(tree, &tree_rect);
  const int pages[] = {IDD_GENERAL, IDD_DATABASE, IDD_ODBC, IDD_ACCESS};
  for (int id : pages) {
    ASSERT_NE(Page(id), nullptr) << id;
    ::GetWindowRect(Page(id), &page_rect);
    EXPECT_EQ(page_rect.left, tree_rect.right + 3) << id;
    EXPECT_EQ(page_rect.top, tree_rect.top) << id;
    EXPECT_EQ(::IsWindowVisible(Page(id)) != 0, id == IDD_GENERAL) << id;
  }
  for (int index : {2, 3, 0}) {
    ASSERT_TRUE(robot::SelectTreeItem(tree, index));
    for (int i = 0; i < 4; ++i) EXPECT_EQ(::IsWindowVisible(Page(pages[i])) != 0, i == index) << index;
  }

  const struct {
    int page;
    int id;
    const char* text;
  } labelled[] = {
      {IDD_GENERAL, IDC_AUTO_START, "Auto-start this program on windows startup"},
      {IDD_GENERAL, IDC_CHOOSE_COLOR, "Choose..."},
      {IDD_GENERAL, IDC_SUPPRESS_LINKS, "Suppress Hyperlinks During Selection"},
      {IDD_GENERAL, IDC_DATETIME_URL, "Save datetime and URL information with text and html files"},
      {IDD_GENERAL, IDC_APPEND_NOTHING, "Nothing"},
      {IDD_GENERAL, IDC_APPEND_DATETIME, "Date/Time Stamp (yymmdd-hhmmss)"},
      {IDD_GENERAL, IDC_APPEND_CONTENT, "Part of the content to be saved"},
      {IDD_GENERAL, IDC_CLEAR_QUICK_SAVE, "Clear Quick Save Data"},
      {IDD_DATABASE, IDC_USE_ODBC, "Use ODBC"},
      {IDD_DATABASE, IDC_USE_ACCESS, "Direct MS Access"},
      {IDD_ODBC, IDC_DSN_CHOICE, "DSN"},
      {IDD_ODBC, IDC_FILE_DSN_CHOICE, "File DSN"},
      {IDD_ODBC, IDC_BROWSE_DSN, "Browse..."},
      {IDD_ODBC, IDC_TEST_CONNECTION, "Test Connection"},
      {IDD_ODBC, IDC_CREATE_ACCESS_TABLE, "Create Table For Access"},
      {IDD_ODBC, IDC_CREATE_MYSQL_TABLE, "Create Table For MySQL"},
      {IDD_ACCESS, IDC_BROWSE_MDB, "Browse..."},
      {IDD_ACCESS, IDC_ACCESS_TEST, "Test"},
      {IDD_ACCESS, IDC_ACCESS_CREATE_TABLE, "Create Table"},
  };
  for (const auto& l : labelled) EXPECT_EQ(robot::ControlText(Page(l.page), l.id), l.text) << l.id;
  for (int id : {IDC_ODBC_PASSWORD, IDC_ACCESS_PASSWORD}) {
    const HWND page = Page(id == IDC_ODBC_PASSWORD ? IDD_ODBC : IDD_ACCESS);
    EXPECT_TRUE(::GetWindowLongA(::GetDlgItem(page, id), GWL_STYLE) & ES_PASSWORD) << id;
  }

  // The record's defaults in the controls.
  const HWND general = Page(IDD_GENERAL);
  EXPECT_EQ(robot::ControlText(general, IDC_NORMAL_KEY), "Ctrl");
  EXPECT_EQ(robot::ControlText(general, IDC_MULTI_KEY), "Shift");
  EXPECT_EQ(robot::ControlText(general, IDC_DESELECT_KEY), "Alt");
  EXPECT_EQ(robot::ControlText(general, IDC_EXCLUDE_TABLE_KEY), "Ctrl + Alt");
  EXPECT_EQ(robot::ControlText(general, IDC_APPEND_LENGTH), "10");
  EXPECT_TRUE(Checked(general, IDC_APPEND_DATETIME));
  EXPECT_TRUE(Checked(general, IDC_SUPPRESS_LINKS));
  EXPECT_TRUE(Checked(Page(IDD_DATABASE), IDC_USE_ODBC));
  EXPECT_TRUE(Checked(Page(IDD_ODBC), IDC_DSN_CHOICE));

  // Cancel stores nothing: the registry holds no value until a save.
  robot::SetCheck(general, IDC_AUTO_START, true);
  robot::Click(dialog_, IDCANCEL);
  ASSERT_TRUE(robot::WaitUntilGone(dialog_));
  robot::Settle(controller_);
  EXPECT_TRUE(Stored("Suppress Hyperlink").empty());
  EXPECT_FALSE(RunValueExists());
}

TEST_F(SettingsDialogTest, EveryKindOfControlReachesTheRegistryOnOk) {
  ASSERT_NE(Open(), nullptr) << robot::DescribeDialogs();
  const HWND general = Page(IDD_GENERAL);
  robot::SetCheck(general, IDC_AUTO_START, true);
  robot::SetCheck(general, IDC_SUPPRESS_LINKS, false);
  robot::SetCheck(general, IDC_DATETIME_URL, true);
  robot::Click(general, IDC_CHOOSE_COLOR);
  ASSERT_TRUE(robot::AnswerColorChooser(0x12, 0x34, 0x56)) << robot::DescribeDialogs();
  robot::ClickHoldingKeys(general, IDC_NORMAL_KEY, 3);     // Shift and Ctrl
  robot::ClickHoldingKeys(general, IDC_MULTI_KEY, 5);      // Shift and Alt
  robot::ClickHoldingKeys(general, IDC_DESELECT_KEY, 2);   // Ctrl
  EXPECT_EQ(robot::ControlText(general, IDC_NORMAL_KEY), "Ctrl + Shift");
  EXPECT_EQ(robot::ControlText(general, IDC_MULTI_KEY), "Alt + Shift");
  robot::Click(general, IDC_APPEND_CONTENT);
  robot::Settle(dialog_);
  EXPECT_FALSE(Checked(general, IDC_APPEND_DATETIME));
  ::SetDlgItemTextA(general, IDC_APPEND_LENGTH, "12abc");

  const HWND database = Page(IDD_DATABASE);
  robot::Click(database, IDC_USE_ACCESS);
  robot::Settle(dialog_);
  EXPECT_FALSE(Checked(database, IDC_USE_ODBC));

  const HWND odbc = Page(IDD_ODBC);
  robot::Click(odbc, IDC_FILE_DSN_CHOICE);
  robot::Settle(dialog_);
  EXPECT_FALSE(Checked(odbc, IDC_DSN_CHOICE));
  EXPECT_FALSE(::IsWindowEnabled(::GetDlgItem(odbc, IDC_DSN)));
  EXPECT_TRUE(::IsWindowEnabled(::GetDlgItem(odbc, IDC_FILE_DSN)));
  EXPECT_TRUE(::IsWindowEnabled(::GetDlgItem(odbc, IDC_BROWSE_DSN)));
  const struct {
    HWND page;
    int id;
    const char* text;
  } boxes[] = {{odbc, IDC_DSN, "Named"},          {odbc, IDC_FILE_DSN, "C:\\a.dsn"}, {odbc, IDC_ODBC_USER, "ann"},
               {odbc, IDC_ODBC_PASSWORD, "pw!"}, {odbc, IDC_ODBC_EXTRA, "X=1"},     {odbc, IDC_ODBC_TABLE, "rows"},
               {Page(IDD_ACCESS), IDC_ACCESS_PATH, "C:\\a.mdb"},
               {Page(IDD_ACCESS), IDC_ACCESS_PASSWORD, "apw"},
               {Page(IDD_ACCESS), IDC_ACCESS_TABLE, "grabs"}};
  for (const auto& b : boxes) ::SetDlgItemTextA(b.page, b.id, b.text);

  robot::Click(dialog_, IDOK);
  ASSERT_TRUE(robot::WaitUntilGone(dialog_)) << robot::DescribeDialogs();
  robot::Settle(controller_);
  EXPECT_EQ(Stored("Highlight Color"), (Bytes{0x12, 0x34, 0x56, 0}));
  EXPECT_EQ(Stored("Suppress Hyperlink"), (Bytes{0, 0, 0, 0}));
  EXPECT_EQ(Stored("Datetime URL"), (Bytes{1, 0, 0, 0}));
  EXPECT_EQ(Stored("Normal Hotkey Mod"), (Bytes{3, 0}));
  EXPECT_EQ(Stored("Multi Hotkey Mod"), (Bytes{5, 0}));
  EXPECT_EQ(Stored("Deselect Hotkey Mod"), (Bytes{2, 0}));
  EXPECT_EQ(Stored("Exclude Table Hotkey Mod"), (Bytes{6, 0}));
  EXPECT_EQ(Stored("Name Append Type"), (Bytes{2, 0, 0, 0}));
  EXPECT_EQ(Stored("Name Append Len"), (Bytes{12, 0, 0, 0}));
  EXPECT_EQ(Stored("DB Type"), (Bytes{1, 0, 0, 0}));
  EXPECT_EQ(Stored("Use File DSN", "ODBC"), (Bytes{1, 0, 0, 0}));
  for (const auto& b : boxes) {
    const char* sub_key = b.page == odbc ? "ODBC" : "Access";
    static const std::map<int, const char*> kNames = {
        {IDC_DSN, "DSN"},     {IDC_FILE_DSN, "File DSN"},     {IDC_ODBC_USER, "User"},
        {IDC_ODBC_PASSWORD, "Pass"}, {IDC_ODBC_EXTRA, "Extra"}, {IDC_ODBC_TABLE, "Table Name"},
        {IDC_ACCESS_PATH, "Path"}, {IDC_ACCESS_PASSWORD, "Password"}, {IDC_ACCESS_TABLE, "Table Name"}};
    const std::string stored = StoredText(kNames.at(b.id), sub_key);
    // Passwords are kept scrambled.
    if (b.id == IDC_ODBC_PASSWORD || b.id == IDC_ACCESS_PASSWORD)
      EXPECT_NE(stored, b.text);
    else
      EXPECT_EQ(stored, b.text);
  }
  EXPECT_TRUE(RunValueExists());
}

TEST_F(SettingsDialogTest, RefusalsKeepTheDialogOpenAndARefusedLengthLeavesTheEarlierValuesForTheNextSave) {
  ASSERT_NE(Open(), nullptr) << robot::DescribeDialogs();
  const HWND general = Page(IDD_GENERAL);
  robot::ClickHoldingKeys(general, IDC_MULTI_KEY, 2);  // Ctrl, as normal selection has
  robot::Click(dialog_, IDOK);
  EXPECT_EQ(Answer("Error"), "You must choose different modifier keys for the hotkeys");
  robot::ClickHoldingKeys(general, IDC_MULTI_KEY, 0);
  EXPECT_EQ(robot::ControlText(general, IDC_MULTI_KEY), "None");
  robot::Click(dialog_, IDOK);
  EXPECT_EQ(Answer("Error"), "You must select modifier keys for both selection methods");

  robot::ClickHoldingKeys(general, IDC_MULTI_KEY, 7);
  robot::SetCheck(general, IDC_AUTO_START, true);
  for (const char* length : {"50", "letters"}) {
    ::SetDlgItemTextA(general, IDC_APPEND_LENGTH, length);
    robot::Click(dialog_, IDOK);
    EXPECT_EQ(Answer("Error"), "Length of appended content must between 0-50 (exclusive)");
  }
  EXPECT_TRUE(::IsWindowVisible(dialog_));
  robot::Click(dialog_, IDCANCEL);
  ASSERT_TRUE(robot::WaitUntilGone(dialog_));
  robot::Settle(controller_);
  EXPECT_TRUE(Stored("Multi Hotkey Mod").empty());

  // At exit the record is saved: the keys and auto-start came in before the length was refused.
  program_.Stop();
  EXPECT_EQ(Stored("Multi Hotkey Mod"), (Bytes{7, 0}));
  EXPECT_EQ(Stored("Name Append Len"), (Bytes{10, 0, 0, 0}));
  EXPECT_TRUE(RunValueExists());
}

TEST_F(SettingsDialogTest, ClearQuickSaveDataDeletesTheThreeFilesOnlyOnYes) {
  const char* names[] = {"actions.dat", "selections.dat", "layouts.dat"};
  const auto exists = [&](const char* name) {
    return ::GetFileAttributesA((program_.folder() + "\\" + name).c_str()) != INVALID_FILE_ATTRIBUTES;
  };
  for (const char* name : names) std::ofstream(program_.folder() + "\\" + name) << "";
  ASSERT_NE(Open(), nullptr) << robot::DescribeDialogs();
  robot::Click(Page(IDD_GENERAL), IDC_CLEAR_QUICK_SAVE);
  EXPECT_EQ(Answer("Confirm", IDNO), "Are you sure you want to clear all quick save data?");
  robot::Settle(dialog_);
  for (const char* name : names) EXPECT_TRUE(exists(name)) << name;
  robot::Click(Page(IDD_GENERAL), IDC_CLEAR_QUICK_SAVE);
  Answer("Confirm", IDYES);
  robot::Click(dialog_, IDCANCEL);
  ASSERT_TRUE(robot::WaitUntilGone(dialog_));
  for (const char* name : names) EXPECT_FALSE(exists(name)) << name;
}

TEST_F(SettingsDialogTest, OdbcButtonsMakeATableTheOutputAppendsToAtOnce) {
  PH_REQUIRE_DATABASE_FIXTURE();
  std::string error;
  const std::string admin_source = std::string("DSN=") + kMariaDbDsn + ";UID=" + kMariaDbUser + ";PWD=" + kMariaDbPassword;
  const auto admin = MakeOdbcDatabase(DriverPrompt::kNever)->Connect(admin_source, &error);
  ASSERT_TRUE(admin) << error;
  ASSERT_TRUE(admin->Execute("DROP TABLE IF EXISTS from_dialog", &error)) << error;

  ASSERT_NE(Open(), nullptr) << robot::DescribeDialogs();
  const HWND odbc = Page(IDD_ODBC);
  ::SetDlgItemTextA(odbc, IDC_DSN, kMariaDbDsn);
  ::SetDlgItemTextA(odbc, IDC_ODBC_USER, kMariaDbUser);
  ::SetDlgItemTextA(odbc, IDC_ODBC_PASSWORD, kMariaDbPassword);
  robot::Click(odbc, IDC_TEST_CONNECTION);
  EXPECT_EQ(Answer("ODBC"), "Connection Test Successful!");
  robot::Click(odbc, IDC_CREATE_MYSQL_TABLE);
  EXPECT_EQ(Answer("Error"), "Table name empty!");
  ::SetDlgItemTextA(odbc, IDC_ODBC_TABLE, "from_dialog");
  robot::Click(odbc, IDC_CREATE_MYSQL_TABLE);
  EXPECT_EQ(Answer("Table Creation"), "Table created successfully");
  robot::Click(odbc, IDC_CREATE_MYSQL_TABLE);
  EXPECT_NE(Answer("Error").find("already exists"), std::string::npos);

  robot::Click(dialog_, IDOK);
  ASSERT_TRUE(robot::WaitUntilGone(dialog_)) << robot::DescribeDialogs();
  HandoffFields fields;
  fields[kSelectionHtml] = u"<p>kept</p>";
  fields[kSelectionText] = u"kept";
  fields[kPageUrl] = u"http://127.0.0.1/dialog.html";
  ASSERT_TRUE(robot::SendContent(controller_, fields, 31, 0));
  const HWND save = robot::WaitForWindow("PageHarvest - What would you like to do with the content:");
  ASSERT_NE(save, nullptr);
  robot::Click(save, IDC_SAVE_DATABASE);
  ASSERT_TRUE(robot::WaitUntilGone(save)) << robot::DescribeDialogs();
  EXPECT_TRUE(PollFor([&] {
    QueryRows rows;
    std::string ignored;
    return admin->Query("SELECT id, url, content FROM from_dialog", &rows, &ignored) &&
           rows == QueryRows{{"1", "http://127.0.0.1/dialog.html", "kept"}};
  })) << robot::DescribeDialogs();
}

TEST_F(SettingsDialogTest, AccessDialectOnSqliteShowsTheDriversWordsAndBrowseKeepsWhatWasTyped) {
  PH_REQUIRE_DATABASE_FIXTURE();
  ASSERT_NE(Open(), nullptr) << robot::DescribeDialogs();
  const HWND odbc = Page(IDD_ODBC);
  ::SetDlgItemTextA(odbc, IDC_DSN, kSqliteDsn);
  ::SetDlgItemTextA(odbc, IDC_ODBC_EXTRA, ("Database=" + FixtureDir() + "/sqlite/dialog.db").c_str());
  ::SetDlgItemTextA(odbc, IDC_ODBC_TABLE, "access_kind");
  robot::Click(odbc, IDC_CREATE_ACCESS_TABLE);
  EXPECT_NE(Answer("Error").find("syntax error"), std::string::npos);

  // The file data source is chosen; the user name typed before stays.
  robot::Click(odbc, IDC_FILE_DSN_CHOICE);
  ::SetDlgItemTextA(odbc, IDC_ODBC_USER, "typed");
  robot::Click(odbc, IDC_BROWSE_DSN);
  const std::string dsn_file = WinePath(FixtureDir() + "/content.dsn");
  ASSERT_TRUE(robot::AnswerOpenChooser(dsn_file)) << robot::DescribeDialogs();
  robot::Settle(dialog_);
  EXPECT_EQ(robot::ControlText(odbc, IDC_FILE_DSN), dsn_file);
  EXPECT_EQ(robot::ControlText(odbc, IDC_ODBC_USER), "typed");
  ::SetDlgItemTextA(odbc, IDC_ODBC_USER, "");
  robot::Click(odbc, IDC_TEST_CONNECTION);
  EXPECT_EQ(Answer("ODBC"), "Connection Test Successful!");

  // Without a DAO engine the Access page says so.
  const HWND access = Page(IDD_ACCESS);
  const std::string mdb = program_.folder() + "\\content.mdb";
  std::ofstream(mdb) << "";
  robot::Click(access, IDC_BROWSE_MDB);
  ASSERT_TRUE(robot::AnswerOpenChooser(mdb)) << robot::DescribeDialogs();
  robot::Settle(dialog_);
  EXPECT_EQ(robot::ControlText(access, IDC_ACCESS_PATH), mdb);
  robot::Click(access, IDC_ACCESS_TEST);
  EXPECT_EQ(Answer("Error"), kNoAccessEngineMessage);
  robot::Click(dialog_, IDCANCEL);
  EXPECT_TRUE(robot::WaitUntilGone(dialog_));
}

}  // namespace
}  // namespace ph::test
