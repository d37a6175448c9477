// The database output and the ODBC page's buttons against the SQLite ODBC driver.
#include <gtest/gtest.h>

#include "controller/outputs/database_setup.h"
#include "tests/controller/database/test_databases.h"
#include "tests/support/mixed_script.h"

namespace ph::test {
namespace {

class SqliteOdbc : public ::testing::Test {
 protected:
  void SetUp() override {
    PH_REQUIRE_DATABASE_FIXTURE();
    const std::string name = ::testing::UnitTest::GetInstance()->current_test_info()->name();
    bench_.settings = SqliteSettings(name + ".db", "pages");
    connection_ = Connect(*bench_.odbc, bench_.settings);
    ASSERT_TRUE(connection_);
    std::string error;
    ASSERT_TRUE(connection_->Execute("DROP TABLE IF EXISTS pages", &error)) << error;
    ASSERT_TRUE(connection_->Execute(SqliteContentTable("pages"), &error)) << error;
  }

  // The driver keeps the date as text with milliseconds; the seconds are what was written.
  QueryRows Pages() {
    return Rows(*connection_,
                "SELECT id, strftime('%Y-%m-%d %H:%M:%S', content_date), url, content FROM pages "
                "ORDER BY id");
  }

  WriterBench bench_;
  std::unique_ptr<DatabaseConnection> connection_;
};

TEST_F(SqliteOdbc, RowsArriveNumberedWithTheirDateUrlAndContent) {
  EXPECT_NE(bench_.Write(Content("http://example.com/one", "first text", "<i>1</i>", kPortionText)),
            0);
  bench_.clock.Set(LocalTime{2031, 12, 31, 23, 59, 59, 0});
  EXPECT_NE(
      bench_.Write(Content("http://example.com/two", "second text", "<i>2</i>", kPortionHtml)), 0);
  EXPECT_TRUE(bench_.user.messages().empty());
  const QueryRows rows = Pages();
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_EQ(rows[0], (std::vector<std::string>{"1", "2031-04-05 06:07:08", "http://example.com/one",
                                               "first text"}));
  EXPECT_EQ(rows[1], (std::vector<std::string>{"2", "2031-12-31 23:59:59", "http://example.com/two",
                                               "<i>2</i>"}));
}

TEST_F(SqliteOdbc, ValuesTravelAsParametersNeverAsSql) {
  const std::string hostile = "x'); DROP TABLE pages; --\"";
  EXPECT_NE(bench_.Write(Content("http://e.com/?q='1'", hostile)), 0);
  const QueryRows rows = Pages();
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_EQ(rows[0][2], "http://e.com/?q='1'");
  EXPECT_EQ(rows[0][3], hostile);
}

TEST_F(SqliteOdbc, TextInEveryScriptArrivesAsTheSameCharacters) {
  const std::string mixed = Utf8Of(kMixedScript);
  EXPECT_NE(bench_.Write(Content("http://e.com/\xC3\xA9t\xC3\xA9", mixed)), 0);
  const QueryRows rows = Pages();
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_EQ(rows[0][3], mixed);
  EXPECT_EQ(rows[0][2], "http://e.com/\xC3\xA9t\xC3\xA9");
  // The driver holds characters, not the bytes of the program's code page: the emoji is one.
  EXPECT_EQ(Rows(*connection_, "SELECT length(content) FROM pages")[0][0], std::to_string(kMixedScript.size() - 1));
}

TEST_F(SqliteOdbc, OverlongUrlAndContentAreCutToTheirColumns) {
  const std::string url = "http://example.com/" + std::string(400, 'u');
  std::string content(70000, 'c');
  content[64999] = 'L';
  EXPECT_NE(bench_.Write(Content(url, content)), 0);
  const QueryRows rows = Pages();
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_EQ(rows[0][2], url.substr(0, 255));
  ASSERT_EQ(rows[0][3].size(), 65000u);
  EXPECT_EQ(rows[0][3].back(), 'L');
}

TEST_F(SqliteOdbc, MissingTableIsReportedCountsAsDoneAndCreatesNothing) {
  bench_.settings.odbc_table = "no_such_table";
  EXPECT_NE(bench_.Write(Content("http://e.com", "t")), 0);
  ASSERT_EQ(bench_.user.messages().size(), 1u);
  EXPECT_EQ(bench_.user.messages()[0].text, "Could not open record set!");
  EXPECT_TRUE(
      Rows(*connection_, "SELECT name FROM sqlite_master WHERE name = 'no_such_table'").empty());
}

TEST_F(SqliteOdbc, TableWithoutTheContentColumnsTakesNoRow) {
  // SQLite reads a quoted name that is no column as a text literal, so the table opens and the row
  // is what it refuses.
  std::string error;
  ASSERT_TRUE(
      connection_->Execute("CREATE TABLE notes (id INTEGER PRIMARY KEY, body TEXT)", &error))
      << error;
  bench_.settings.odbc_table = "notes";
  EXPECT_NE(bench_.Write(Content("http://e.com", "t")), 0);
  ASSERT_EQ(bench_.user.messages().size(), 1u);
  EXPECT_EQ(bench_.user.messages()[0].text, "Failed to update recordset!");
  EXPECT_TRUE(Rows(*connection_, "SELECT * FROM notes").empty());
}

TEST_F(SqliteOdbc, RejectedRowLeavesNothingBehind) {
  std::string error;
  ASSERT_TRUE(
      connection_->Execute("CREATE TABLE strict_pages (id INTEGER PRIMARY KEY, content_date DATE, "
                           "url VARCHAR(255), content TEXT CHECK (length(content) < 5))",
                           &error))
      << error;
  bench_.settings.odbc_table = "strict_pages";
  EXPECT_NE(bench_.Write(Content("http://e.com", "far too long")), 0);
  ASSERT_EQ(bench_.user.messages().size(), 1u);
  EXPECT_EQ(bench_.user.messages()[0].text, "Failed to update recordset!");
  EXPECT_TRUE(Rows(*connection_, "SELECT * FROM strict_pages").empty());
}

TEST_F(SqliteOdbc, MissingDataSourceNameShowsTheDriverManagersText) {
  bench_.settings.dsn = "No Such Source";
  bench_.settings.extra.clear();
  EXPECT_EQ(bench_.Write(Content("http://e.com", "t")), 0);
  ASSERT_EQ(bench_.user.messages().size(), 1u);
  EXPECT_NE(bench_.user.messages()[0].text.find("not found"), std::string::npos)
      << bench_.user.messages()[0].text;
  EXPECT_EQ(bench_.user.messages()[0].caption, "Error");
}

TEST(SqliteFileDsn, FileDataSourceIsUsedWhenCheckedEvenWithANameFilledIn) {
  PH_REQUIRE_DATABASE_FIXTURE();
  WriterBench bench;
  bench.settings.use_file_dsn = 1;
  bench.settings.file_dsn = FixtureDir() + "/content.dsn";
  bench.settings.dsn = "No Such Source";
  bench.settings.odbc_table = "file_pages";

  OdbcPageValues page;
  page.use_file_dsn = 1;
  page.file_dsn = bench.settings.file_dsn;
  page.dsn = bench.settings.dsn;
  page.table = "file_pages";
  Message m = TestOdbcConnection(*bench.odbc, page);
  EXPECT_EQ(m.text, "Connection Test Successful!");
  EXPECT_EQ(m.caption, "ODBC");
  EXPECT_EQ(m.icon, MessageIcon::kNone);

  auto connection = Connect(*bench.odbc, bench.settings);
  ASSERT_TRUE(connection);
  std::string error;
  ASSERT_TRUE(connection->Execute("DROP TABLE IF EXISTS file_pages", &error)) << error;
  ASSERT_TRUE(connection->Execute(SqliteContentTable("file_pages"), &error)) << error;
  EXPECT_NE(bench.Write(Content("http://e.com/file", "via the file")), 0);
  EXPECT_TRUE(bench.user.messages().empty());
  const QueryRows rows = Rows(*connection, "SELECT url, content FROM file_pages");
  EXPECT_EQ(rows, (QueryRows{{"http://e.com/file", "via the file"}}));
}

TEST(SqliteFileDsn, UnreadableFileIsAFailedConnection) {
  PH_REQUIRE_DATABASE_FIXTURE();
  WriterBench bench;
  bench.settings.use_file_dsn = 1;
  bench.settings.file_dsn = FixtureDir() + "/no-such.dsn";
  bench.settings.odbc_table = "pages";
  EXPECT_EQ(bench.Write(Content("http://e.com", "t")), 0);
  ASSERT_EQ(bench.user.messages().size(), 1u);
  EXPECT_EQ(bench.user.messages()[0].text,
            "The file data source \"" + bench.settings.file_dsn + "\" could not be read.");
}

TEST(SqliteOdbcPage, ButtonsReportSuccessAndTheDatabasesOwnErrors) {
  PH_REQUIRE_DATABASE_FIXTURE();
  std::unique_ptr<Database> odbc = MakeOdbcDatabase(DriverPrompt::kNever);
  OdbcPageValues page;
  page.dsn = kSqliteDsn;
  page.extra = "Database=" + FixtureDir() + "/sqlite/page-buttons.db";
  page.table = "created";
  std::string error;
  auto connection = odbc->Connect(OdbcConnectionString(page), &error);
  ASSERT_TRUE(connection) << error;
  ASSERT_TRUE(connection->Execute("DROP TABLE IF EXISTS created", &error)) << error;

  // SQLite knows neither dialect's auto-numbering: the driver's error text is what the page shows.
  Message m = CreateOdbcTable(*odbc, page, TableDialect::kAccess);
  EXPECT_EQ(m.caption, "Error");
  EXPECT_EQ(m.icon, MessageIcon::kError);
  EXPECT_NE(m.text.find("syntax error"), std::string::npos) << m.text;

  page.table.clear();
  m = CreateOdbcTable(*odbc, page, TableDialect::kMySql);
  EXPECT_EQ(m.text, "Table name empty!");
  EXPECT_EQ(m.caption, "Error");

  page.dsn = "No Such Source";
  page.extra.clear();
  m = TestOdbcConnection(*odbc, page);
  EXPECT_EQ(m.caption, "Error");
  EXPECT_NE(m.text.find("not found"), std::string::npos) << m.text;
}

}  // namespace
}  // namespace ph::test
