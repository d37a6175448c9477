// The database output and the ODBC page's buttons against a MariaDB server on loopback.
#include <gtest/gtest.h>

#include "tests/controller/database/test_databases.h"

namespace ph::test {
namespace {

class MariaDbOdbc : public ServerTableTest {
 protected:
  void SetUp() override { OpenTable(kMariaDbDsn); }
};

TEST_F(MariaDbOdbc, CreateTableForMySqlGivesATableTheOutputAppendsToAtOnce) {
  Message m = CreateOdbcTable(*bench_.odbc, Page(), TableDialect::kMySql);
  EXPECT_EQ(m.text, "Table created successfully");
  EXPECT_EQ(m.caption, "Table Creation");
  EXPECT_EQ(m.icon, MessageIcon::kNone);
  EXPECT_EQ(Rows(*admin_,
                 "SELECT column_name FROM information_schema.columns WHERE table_schema = "
                 "'pageharvest' AND table_name = '" +
                     table_ + "' ORDER BY ordinal_position"),
            (QueryRows{{"id"}, {"content_date"}, {"url"}, {"content"}}));

  EXPECT_NE(bench_.Write(Content("http://example.com/m", "maria text", "<p>m</p>", kPortionHtml)),
            0);
  EXPECT_NE(bench_.Write(Content("http://example.com/n", std::string(66000, 'x'))), 0);
  EXPECT_TRUE(bench_.user.messages().empty());
  const QueryRows rows = Rows(
      *admin_, "SELECT id, content_date, url, length(content) FROM " + table_ + " ORDER BY id");
  EXPECT_EQ(rows, (QueryRows{{"1", "2031-04-05 06:07:08", "http://example.com/m", "8"},
                             {"2", "2031-04-05 06:07:08", "http://example.com/n", "65000"}}));

  // The second time the server refuses, and its words are shown.
  m = CreateOdbcTable(*bench_.odbc, Page(), TableDialect::kMySql);
  EXPECT_EQ(m.caption, "Error");
  EXPECT_NE(m.text.find("already exists"), std::string::npos) << m.text;
}

TEST_F(MariaDbOdbc, AccessDialectIsRefusedWithTheServersText) {
  const Message m = CreateOdbcTable(*bench_.odbc, Page(), TableDialect::kAccess);
  EXPECT_EQ(m.caption, "Error");
  EXPECT_EQ(m.icon, MessageIcon::kError);
  EXPECT_NE(m.text.find("autoincrement"), std::string::npos) << m.text;
}

TEST_F(MariaDbOdbc, WrongPasswordShowsTheServersTextAndSavesNothing) {
  ExpectWrongPasswordRefusedWith("Access denied");
}

TEST_F(MariaDbOdbc, ServerThatIsDownShowsTheDriversTextAndSavesNothing) {
  bench_.settings.dsn = kDownDsn;
  EXPECT_EQ(bench_.Write(Content("http://e.com", "t")), 0);
  EXPECT_NE(ErrorShown().find("Can't connect"), std::string::npos);
}

TEST_F(MariaDbOdbc, ReadOnlyAccountIsToldTheRowFailedAndNothingIsWritten) {
  // The account may read the table but not write to it.
  bench_.settings.user = kReaderUser;
  bench_.settings.password = kReaderPassword;
  bench_.settings.odbc_table = "shelf";
  EXPECT_NE(bench_.Write(Content("http://e.com/ro", "t")), 0);
  EXPECT_EQ(ErrorShown(), "Failed to update recordset!");
  EXPECT_TRUE(Rows(*admin_, "SELECT * FROM shelf").empty());
}

TEST_F(MariaDbOdbc, ReadOnlySessionCannotBeAddedTo) {
  EXPECT_EQ(CreateOdbcTable(*bench_.odbc, Page(), TableDialect::kMySql).text,
            "Table created successfully");
  bench_.settings.extra = "InitStmt=SET SESSION TRANSACTION READ ONLY";
  EXPECT_NE(bench_.Write(Content("http://e.com/ro", "t")), 0);
  EXPECT_EQ(ErrorShown(), "Failed to update recordset!");
  EXPECT_TRUE(Rows(*admin_, "SELECT * FROM " + table_).empty());
}

TEST_F(MariaDbOdbc, MissingTableIsReportedAndCountsAsDone) {
  EXPECT_NE(bench_.Write(Content("http://e.com", "t")), 0);
  EXPECT_EQ(ErrorShown(), "Could not open record set!");
}

TEST_F(MariaDbOdbc, TableWithoutTheContentColumnsCannotBeOpened) {
  std::string error;
  ASSERT_TRUE(
      admin_->Execute("CREATE TABLE " + table_ + " (id INT PRIMARY KEY, body TEXT)", &error))
      << error;
  EXPECT_NE(bench_.Write(Content("http://e.com", "t")), 0);
  EXPECT_EQ(ErrorShown(), "Could not open record set!");
  EXPECT_TRUE(Rows(*admin_, "SELECT * FROM " + table_).empty());
}

}  // namespace
}  // namespace ph::test
