// Quick saves under Wine: a layout's stored action (actions.dat beside the program) saves the
// content without any dialog, for each of the five kinds, and the dialog comes when it cannot.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>

#include "common/le_io.h"
#include "controller/outputs/database.h"
#include "controller/outputs/output_context.h"
#include "platform/code_page.h"
#include "platform/win32/wide_paths.h"
#include "tests/controller/shell/win32/controller_program.h"
#include "tests/support/mixed_script.h"
#include "tools/harness/win32/robot.h"

namespace ph::test {
namespace {

constexpr char kSaveTitle[] = "PageHarvest - What would you like to do with the content:";

void SetBinary(HKEY key, const char* name, DWORD value) {
  ::RegSetValueExA(key, name, 0, REG_BINARY, reinterpret_cast<const BYTE*>(&value), sizeof value);
}

void SetString(HKEY key, const char* name, const std::string& value) {
  ::RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                   static_cast<DWORD>(value.size() + 1));
}

class StoredActionsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    RemoveProductKey();
    // Plain file names (no date stamp), no header, no appending; the database through ODBC.
    win::UniqueHkey key;
    ASSERT_EQ(::RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\PageHarvest", 0, nullptr, 0, KEY_ALL_ACCESS,
                                nullptr, key.put(), nullptr),
              ERROR_SUCCESS);
    SetBinary(key.get(), "Name Append Type", 0);
    SetBinary(key.get(), "Datetime URL", 0);
    SetBinary(key.get(), "Append Files", 0);
    SetBinary(key.get(), "DB Type", 0);
    win::UniqueHkey odbc;
    ASSERT_EQ(::RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\PageHarvest\\ODBC", 0, nullptr, 0,
                                KEY_ALL_ACCESS, nullptr, odbc.put(), nullptr),
              ERROR_SUCCESS);
    if (const char* dsn = std::getenv("PH_CONTROLLER_DSN")) dsn_ = dsn;
    SetString(odbc.get(), "DSN", dsn_);
    SetString(odbc.get(), "Table Name", "pages");
    SetBinary(odbc.get(), "Use File DSN", 0);

    out_ = program_.folder() + "\\out";
    ASSERT_TRUE(::CreateDirectoryA(out_.c_str(), nullptr));
    ByteWriter actions;
    const std::int32_t kinds[] = {kOutputText, kOutputXml, kOutputHtml, kOutputClipboard, kOutputDatabase};
    for (std::int32_t kind : kinds) {
      actions.I32(kind + 1);  // layout ids 1 to 5
      actions.I32(kind);
      actions.I32(kPortionAuto);
      actions.String(kind <= kOutputHtml ? out_ : "");
    }
    actions.U32(0);
    program_.WriteActions(actions.bytes());
  }

  void TearDown() override {
    program_.Stop();
    RemoveProductKey();
  }

  // A connection to the test's data source with an empty "pages" table; null, and the test
  // failed, when that cannot be had.
  std::unique_ptr<DatabaseConnection> EmptyPagesTable() {
    std::string error;
    auto database = MakeOdbcDatabase(DriverPrompt::kNever)->Connect("DSN=" + dsn_, &error);
    if (database && database->Execute("DROP TABLE IF EXISTS pages", &error) &&
        database->Execute(
            "CREATE TABLE pages (id INTEGER PRIMARY KEY, content_date DATE, url VARCHAR(255), content TEXT)", &error))
      return database;
    ADD_FAILURE() << error;
    return nullptr;
  }

  // Hands over a quick save of the layout; its text is unique to the call.
  void QuickSave(HWND controller, std::int32_t layout, const std::string& title, const std::string& text) {
    const auto code_page = MakeSystemCodePage();
    HandoffFields fields;
    fields[kSelectionHtml] = code_page->FromAnsi("<p>" + text + "</p>");
    fields[kSelectionText] = code_page->FromAnsi(text);
    fields[kPageUrl] = u"http://127.0.0.1/stored.html";
    fields[kPageTitle] = code_page->FromAnsi(title);
    ASSERT_TRUE(robot::SendContent(controller, fields, layout, 1));
  }

  // No save dialog comes up for a while.
  static bool NoDialog() { return robot::WaitForWindow(kSaveTitle, 500) == nullptr; }

  ControllerProgram program_;
  std::string out_;
  std::string dsn_;
};

TEST_F(StoredActionsTest, EachKindIsSavedWithoutAnyDialog) {
  std::unique_ptr<DatabaseConnection> database;
  if (!dsn_.empty()) {
    database = EmptyPagesTable();
    ASSERT_TRUE(database);
  }
  const HWND controller = program_.StartResident();
  ASSERT_NE(controller, nullptr);

  QuickSave(controller, 1, "Stored text", "text kind");
  EXPECT_TRUE(PollFor([&] { return FileText(out_ + "\\Stored text.txt").find("text kind") != std::string::npos; }));
  QuickSave(controller, 2, "Stored xml", "xml kind");
  EXPECT_TRUE(PollFor([&] {
    const std::string xml = FileText(out_ + "\\Stored xml.xml");
    return xml.find("content_selections") != std::string::npos && xml.find("xml kind") != std::string::npos;
  })) << robot::DescribeDialogs();
  QuickSave(controller, 3, "Stored html", "html kind");
  EXPECT_TRUE(PollFor([&] { return FileText(out_ + "\\Stored html.htm").find("<p>html kind</p>") != std::string::npos; }));
  // The clipboard is read only once the program has put something there: opening it meanwhile
  // could make the program's own opening fail.
  const DWORD sequence = ::GetClipboardSequenceNumber();
  QuickSave(controller, 4, "Stored clipboard", "clipboard kind");
  EXPECT_TRUE(PollFor([&] { return ::GetClipboardSequenceNumber() != sequence; }));
  EXPECT_TRUE(PollFor([&] { return ClipboardText() == "clipboard kind"; })) << ClipboardText();
  if (database) {
    QuickSave(controller, 5, "Stored database", "database kind");
    EXPECT_TRUE(PollFor([&] {
      QueryRows rows;
      std::string error;
      return database->Query("SELECT url, content FROM pages", &rows, &error) && rows.size() == 1 &&
             rows[0] == std::vector<std::string>{"http://127.0.0.1/stored.html", "database kind"};
    }));
  } else {
    ADD_FAILURE() << "PH_CONTROLLER_DSN is not set: run through ctest for the database kind";
  }
  EXPECT_TRUE(NoDialog());
}

TEST_F(StoredActionsTest, TextInEveryScriptIsWrittenByteForByteUnderItsJapaneseTitle) {
  const HWND controller = program_.StartResident();
  ASSERT_NE(controller, nullptr);
  const std::string mixed = Utf8Of(kMixedScript);
  QuickSave(controller, 1, Utf8Of(kJapaneseTitle), mixed);
  const std::string path = out_ + "\\" + Utf8Of(kJapaneseTitle) + ".txt";
  EXPECT_TRUE(PollFor([&] { return FileText(path) == mixed + "\r\n"; })) << FileText(path) << robot::DescribeDialogs();
  // The name is the title's characters, as a program that names files in UTF-16 sees it.
  const std::wstring name(reinterpret_cast<const wchar_t*>(kJapaneseTitle.c_str()), kJapaneseTitle.size());
  WIN32_FIND_DATAW found;
  EXPECT_TRUE(win::UniqueFind(::FindFirstFileW((win::WidePath(out_) + L"\\" + name + L".txt").c_str(), &found)));
}

TEST_F(StoredActionsTest, DatabaseButtonAddsARowAndBecomesTheStoredAction) {
  ASSERT_FALSE(dsn_.empty()) << "PH_CONTROLLER_DSN is not set: run through ctest";
  const auto database = EmptyPagesTable();
  ASSERT_TRUE(database);
  const HWND controller = program_.StartResident();
  ASSERT_NE(controller, nullptr);
  const auto code_page = MakeSystemCodePage();
  HandoffFields fields;
  fields[kSelectionHtml] = u"<b>row</b>";
  fields[kSelectionText] = u"row";
  fields[kPageUrl] = u"http://127.0.0.1/row.html";
  ASSERT_TRUE(robot::SendContent(controller, fields, 20, 0));
  const HWND dialog = robot::WaitForWindow(kSaveTitle);
  ASSERT_NE(dialog, nullptr);
  robot::SelectListEntry(dialog, 1001, 2);  // HTML
  robot::Click(dialog, 1003);               // &Database
  ASSERT_TRUE(robot::WaitUntilGone(dialog)) << robot::DescribeDialogs();
  EXPECT_TRUE(PollFor([&] {
    QueryRows rows;
    std::string error;
    return database->Query("SELECT url, content FROM pages", &rows, &error) && rows.size() == 1 &&
           rows[0] == std::vector<std::string>{"http://127.0.0.1/row.html", "<b>row</b>"};
  }));
  robot::Settle(controller);
  const Bytes stored = program_.ReadActions();
  ByteReader in(stored);
  std::int32_t id = 0, kind = 0, portion = 0;
  // Layouts 1 to 5 come first; 20 is the last record.
  for (int record = 0; record < 6; ++record) {
    std::string folder;
    ASSERT_TRUE(in.I32(&id) && in.I32(&kind) && in.I32(&portion) && in.String(&folder));
  }
  EXPECT_EQ(id, 20);
  EXPECT_EQ(kind, kOutputDatabase);
  EXPECT_EQ(portion, kPortionHtml);
}

TEST_F(StoredActionsTest, ExistingFilesThatMayNotBeWrittenBringTheDialog) {
  const HWND controller = program_.StartResident();
  ASSERT_NE(controller, nullptr);
  // "Append Files" is off: an existing text file is not overwritten; an HTML file never is.
  std::ofstream(out_ + "\\Kept.txt") << "old";
  std::ofstream(out_ + "\\Kept.htm") << "old";
  for (std::int32_t layout : {1, 3}) {
    QuickSave(controller, layout, "Kept", "new words");
    const HWND dialog = robot::WaitForWindow(kSaveTitle);
    ASSERT_NE(dialog, nullptr) << layout;
    robot::Click(dialog, IDCANCEL);
    EXPECT_TRUE(robot::WaitUntilGone(dialog));
  }
  EXPECT_EQ(FileText(out_ + "\\Kept.txt"), "old");
  EXPECT_EQ(FileText(out_ + "\\Kept.htm"), "old");
}

}  // namespace
}  // namespace ph::test
