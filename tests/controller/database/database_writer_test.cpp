// The database writer's message and result for each outcome, over databases that take notes.
#include <gtest/gtest.h>

#include "controller/outputs/database_output.h"
#include "controller/outputs/database_setup.h"

namespace ph {
namespace {

// Remembers every connection and row; answers with the outcome it is told to.
struct Script {
  bool connect = true;
  AppendOutcome outcome = AppendOutcome::kAppended;
  bool execute = true;
  std::string error = "driver says no";
  std::vector<std::string> opened;  // connection strings, or path + "|" + connect string
  std::vector<std::string> tables;
  std::vector<ContentRow> rows;
  std::vector<std::string> statements;
  int open_connections = 0;
};

class FakeConnection : public DatabaseConnection, public AccessDatabase {
 public:
  explicit FakeConnection(Script& s) : s_(s) { ++s_.open_connections; }
  ~FakeConnection() override { --s_.open_connections; }
  bool Execute(std::string_view sql, std::string* error) override {
    s_.statements.emplace_back(sql);
    if (!s_.execute) *error = s_.error;
    return s_.execute;
  }
  AppendOutcome AppendContentRow(std::string_view table, const ContentRow& row,
                                 std::string* error) override {
    s_.tables.emplace_back(table);
    if (s_.outcome == AppendOutcome::kAppended)
      s_.rows.push_back(row);
    else
      *error = s_.error;
    return s_.outcome;
  }
  bool Query(std::string_view, QueryRows*, std::string*) override { return false; }

 private:
  Script& s_;
};

class FakeDatabase : public Database, public AccessEngine {
 public:
  explicit FakeDatabase(Script& s) : s_(s) {}
  std::unique_ptr<DatabaseConnection> Connect(std::string_view text, std::string* error) override {
    s_.opened.emplace_back(text);
    if (s_.connect) return std::make_unique<FakeConnection>(s_);
    *error = s_.error;
    return nullptr;
  }
  std::unique_ptr<AccessDatabase> Open(std::string_view path, std::string_view connect,
                                       std::string* error) override {
    s_.opened.push_back(std::string(path) + "|" + std::string(connect));
    if (s_.connect) return std::make_unique<FakeConnection>(s_);
    *error = s_.error;
    return nullptr;
  }

 private:
  Script& s_;
};

class DatabaseWriterTest : public ::testing::Test {
 protected:
  int Write(const OutputContext& context) {
    return DatabaseWriter(settings_, user_, clock_, odbc_, access_).Write(context);
  }
  OutputContext Content(std::int32_t portion = kPortionAuto) {
    OutputContext c;
    c.url = "http://example.com/a";
    c.text = "the text";
    c.html = "<b>the html</b>";
    c.portion = portion;
    return c;
  }
  // The one message shown, which must be an error box.
  std::string ErrorShown() {
    if (user_.messages().size() != 1)
      return "(" + std::to_string(user_.messages().size()) + " messages)";
    const Message& m = user_.messages()[0];
    EXPECT_EQ(m.caption, "Error");
    EXPECT_EQ(m.icon, MessageIcon::kError);
    EXPECT_EQ(m.buttons, MessageButtons::kOk);
    return m.text;
  }

  Script odbc_script_;
  Script access_script_;
  FakeDatabase odbc_{odbc_script_};
  FakeDatabase access_{access_script_};
  SettingsRecord settings_;
  ScriptedUser user_;
  FakeClock clock_{LocalTime{2024, 2, 29, 23, 59, 58, 0}};
};

TEST_F(DatabaseWriterTest, OdbcRowCarriesNowUrlAndThePortionsContent) {
  settings_.dsn = "Shop";
  settings_.user = "ann";
  settings_.extra = "X=1";
  settings_.odbc_table = "pages";
  EXPECT_NE(Write(Content(kPortionAuto)), 0);
  EXPECT_NE(Write(Content(kPortionHtml)), 0);
  EXPECT_NE(Write(Content(kPortionText)), 0);
  EXPECT_TRUE(user_.messages().empty());
  ASSERT_EQ(odbc_script_.rows.size(), 3u);
  EXPECT_EQ(odbc_script_.opened[0], "ODBC;DSN=Shop;UID=ann;X=1");
  EXPECT_EQ(odbc_script_.tables[0], "pages");
  EXPECT_EQ(odbc_script_.rows[0].content, "the text");
  EXPECT_EQ(odbc_script_.rows[1].content, "<b>the html</b>");
  EXPECT_EQ(odbc_script_.rows[2].content, "the text");
  EXPECT_EQ(odbc_script_.rows[0].url, "http://example.com/a");
  EXPECT_EQ(odbc_script_.rows[0].content_date.year, 2024);
  EXPECT_EQ(odbc_script_.rows[0].content_date.second, 58);
  EXPECT_EQ(odbc_script_.open_connections, 0);
  EXPECT_TRUE(access_script_.opened.empty());
}

TEST_F(DatabaseWriterTest, EmptyChosenDataSourceStopsBeforeAnythingIsOpened) {
  settings_.use_file_dsn = 1;  // the file is chosen, and only the name is filled in
  settings_.dsn = "Shop";
  EXPECT_EQ(Write(Content()), 0);
  EXPECT_EQ(ErrorShown(), "DSN Not Specified! Configure Database First");
  EXPECT_TRUE(odbc_script_.opened.empty());
}

TEST_F(DatabaseWriterTest, FailedConnectionShowsTheDriversTextAndSavesNothing) {
  settings_.dsn = "Shop";
  odbc_script_.connect = false;
  odbc_script_.error = "[unixODBC][Driver Manager]Data source name not found";
  EXPECT_EQ(Write(Content()), 0);
  EXPECT_EQ(ErrorShown(), "[unixODBC][Driver Manager]Data source name not found");
}

TEST_F(DatabaseWriterTest, TableProblemsAreReportedButCountAsDone) {
  settings_.dsn = "Shop";
  const std::pair<AppendOutcome, const char*> cases[] = {
      {AppendOutcome::kTableNotOpened, "Could not open record set!"},
      {AppendOutcome::kNotAppendable, "Cannot add to datebase!"},
      {AppendOutcome::kUpdateFailed, "Failed to update recordset!"},
  };
  for (const auto& [outcome, text] : cases) {
    user_ = ScriptedUser();
    odbc_script_.outcome = outcome;
    EXPECT_NE(Write(Content()), 0) << text;
    EXPECT_EQ(ErrorShown(), text);
    EXPECT_EQ(odbc_script_.open_connections, 0);
  }
}

TEST_F(DatabaseWriterTest, AccessRouteOpensThePathWithItsPasswordOnlyWhenThereIsOne) {
  settings_.db_type = kDatabaseAccess;
  settings_.access_path = "C:\\data\\grab.mdb";
  settings_.access_table = "content";
  EXPECT_NE(Write(Content(kPortionHtml)), 0);
  settings_.access_password = "pw";
  EXPECT_NE(Write(Content()), 0);
  EXPECT_TRUE(user_.messages().empty());
  EXPECT_EQ(access_script_.opened,
            (std::vector<std::string>{"C:\\data\\grab.mdb|", "C:\\data\\grab.mdb|;PWD=pw"}));
  ASSERT_EQ(access_script_.rows.size(), 2u);
  EXPECT_EQ(access_script_.rows[0].content, "<b>the html</b>");
  EXPECT_EQ(access_script_.tables[1], "content");
  EXPECT_TRUE(odbc_script_.opened.empty());
}

TEST_F(DatabaseWriterTest, AccessEngineErrorsGiveTheirDescriptionAndZero) {
  settings_.db_type = kDatabaseAccess;
  access_script_.connect = false;
  access_script_.error = "Could not find file 'C:\\nowhere.mdb'.";
  EXPECT_EQ(Write(Content()), 0);
  EXPECT_EQ(ErrorShown(), "Could not find file 'C:\\nowhere.mdb'.");

  user_ = ScriptedUser();
  access_script_.connect = true;
  access_script_.outcome = AppendOutcome::kUpdateFailed;
  access_script_.error = "The Microsoft Jet database engine cannot find the input table 'x'.";
  EXPECT_EQ(Write(Content()), 0);
  EXPECT_EQ(ErrorShown(), "The Microsoft Jet database engine cannot find the input table 'x'.");
}

TEST_F(DatabaseWriterTest, ReadOnlyAccessTableIsReportedButCountsAsDone) {
  settings_.db_type = kDatabaseAccess;
  access_script_.outcome = AppendOutcome::kNotAppendable;
  EXPECT_NE(Write(Content()), 0);
  EXPECT_EQ(ErrorShown(), "Cannot append to database.");
  EXPECT_EQ(access_script_.open_connections, 0);
}

TEST_F(DatabaseWriterTest, UnknownDatabaseTypeWritesNothingAndSaysNothing) {
  for (std::int32_t type : {2, -1}) {
    settings_.db_type = type;
    settings_.dsn = "Shop";
    EXPECT_EQ(Write(Content()), 0);
  }
  EXPECT_TRUE(user_.messages().empty());
  EXPECT_TRUE(odbc_script_.opened.empty());
  EXPECT_TRUE(access_script_.opened.empty());
}

TEST_F(DatabaseWriterTest, AccessPageButtonsReportWhatTheEngineSays) {
  AccessPageValues page{"C:\\db.mdb", "", "content"};
  Message m = TestAccessFile(access_, page);
  EXPECT_EQ(m.text, "Test Successful");
  EXPECT_EQ(m.caption, "");  // the application's title
  EXPECT_EQ(m.icon, MessageIcon::kNone);
  m = CreateAccessTable(access_, page);
  EXPECT_EQ(m.text, "Table Creation Successful");
  EXPECT_EQ(m.caption, "");
  EXPECT_EQ(access_script_.statements.back(),
            "CREATE TABLE content  (id autoincrement PRIMARY KEY,content_date DATE,url "
            "TEXT(255),content MEMO);");

  // An empty name is the engine's to refuse.
  page.table.clear();
  access_script_.execute = false;
  access_script_.error = "Syntax error in CREATE TABLE statement.";
  m = CreateAccessTable(access_, page);
  EXPECT_EQ(m.text, "Syntax error in CREATE TABLE statement.");
  EXPECT_EQ(m.caption, "Error");
  EXPECT_EQ(m.icon, MessageIcon::kError);
  EXPECT_EQ(access_script_.statements.back(),
            "CREATE TABLE   (id autoincrement PRIMARY KEY,content_date DATE,url TEXT(255),content "
            "MEMO);");
  EXPECT_EQ(access_script_.open_connections, 0);
}

TEST(AccessEngine, WithoutDaoTheRouteSaysSoAndSavesNothing) {
  // Neither this machine nor Wine has a DAO engine.
  SettingsRecord settings;
  settings.db_type = kDatabaseAccess;
  settings.access_path = "content.mdb";
  settings.access_table = "content";
  ScriptedUser user;
  FakeClock clock;
  Script unused;
  FakeDatabase odbc(unused);
  std::unique_ptr<AccessEngine> engine = MakeAccessEngine();
  OutputContext context;
  EXPECT_EQ(DatabaseWriter(settings, user, clock, odbc, *engine).Write(context), 0);
  ASSERT_EQ(user.messages().size(), 1u);
  EXPECT_EQ(user.messages()[0].text, kNoAccessEngineMessage);
  EXPECT_EQ(user.messages()[0].caption, "Error");

  const Message m = TestAccessFile(*engine, AccessPageValues{"content.mdb", "", "content"});
  EXPECT_EQ(m.text, kNoAccessEngineMessage);
  EXPECT_EQ(m.icon, MessageIcon::kError);
}

}  // namespace
}  // namespace ph
