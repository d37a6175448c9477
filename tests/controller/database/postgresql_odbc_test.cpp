// The database output and the ODBC page's buttons against a PostgreSQL server on loopback.
#include <gtest/gtest.h>

#include "controller/outputs/database_setup.h"
#include "tests/controller/database/test_databases.h"

namespace ph::test {
namespace {

// Each test works on a table of its own, so the tests may run side by side. PostgreSQL folds the
// unquoted name to lower case, and so does every statement here.
class PostgreSqlOdbc : public ::testing::Test {
 protected:
  void SetUp() override {
    PH_REQUIRE_DATABASE_FIXTURE();
    table_ = std::string("t_") + ::testing::UnitTest::GetInstance()->current_test_info()->name();
    bench_.settings = ServerSettings(kPostgreSqlDsn, table_);
    admin_ = Connect(*bench_.odbc, bench_.settings);
    ASSERT_TRUE(admin_);
    std::string error;
    ASSERT_TRUE(admin_->Execute("DROP TABLE IF EXISTS " + table_, &error)) << error;
  }

  OdbcPageValues Page() const {
    OdbcPageValues page;
    page.dsn = bench_.settings.dsn;
    page.user = bench_.settings.user;
    page.password = bench_.settings.password;
    page.table = table_;
    return page;
  }

  std::string table_;
  WriterBench bench_;
  std::unique_ptr<DatabaseConnection> admin_;
};

TEST_F(PostgreSqlOdbc, CreateTableGivesATableTheOutputAppendsWholeUtf8ContentTo) {
  Message m = CreateOdbcTable(*bench_.odbc, Page(), TableDialect::kPostgreSql);
  EXPECT_EQ(m.text, "Table created successfully");
  EXPECT_EQ(Rows(*admin_,
                 "SELECT column_name, data_type FROM information_schema.columns WHERE "
                 "table_name = lower('" +
                     table_ + "') ORDER BY ordinal_position"),
            (QueryRows{{"id", "integer"},
                       {"content_date", "timestamp without time zone"},
                       {"url", "character varying"},
                       {"content", "text"}}));

  // Two-byte characters in UTF-8: the cut counts characters, not bytes.
  std::string cyrillic;
  for (int i = 0; i < 66000; ++i) cyrillic += "ж";
  EXPECT_NE(bench_.Write(Content("http://example.com/p", "pg text", "<p>é</p>", kPortionHtml)), 0);
  EXPECT_NE(bench_.Write(Content("http://example.com/q", cyrillic)), 0);
  EXPECT_TRUE(bench_.user.messages().empty()) << bench_.user.messages()[0].text;
  const QueryRows rows =
      Rows(*admin_, "SELECT id, content_date, url, length(content), left(content, 3) FROM " +
                        table_ + " ORDER BY id");
  EXPECT_EQ(rows,
            (QueryRows{{"1", "2031-04-05 06:07:08", "http://example.com/p", "8", "<p>"},
                       {"2", "2031-04-05 06:07:08", "http://example.com/q", "65000", "жжж"}}));

  m = CreateOdbcTable(*bench_.odbc, Page(), TableDialect::kPostgreSql);
  EXPECT_EQ(m.caption, "Error");
  EXPECT_NE(m.text.find("already exists"), std::string::npos) << m.text;
}

// The settings dialog's two buttons keep their column lists, which PostgreSQL does not take: the
// user is shown the server's words and no table is left behind.
TEST_F(PostgreSqlOdbc, DialogsColumnListsAreRefusedWithTheServersText) {
  for (TableDialect dialect : {TableDialect::kAccess, TableDialect::kMySql}) {
    const Message m = CreateOdbcTable(*bench_.odbc, Page(), dialect);
    EXPECT_EQ(m.caption, "Error");
    EXPECT_EQ(m.text.rfind("ERROR: ", 0), 0u) << m.text;
  }
  EXPECT_EQ(Rows(*admin_, "SELECT count(*) FROM information_schema.tables WHERE table_name = lower('" +
                              table_ + "')"),
            (QueryRows{{"0"}}));
}

TEST_F(PostgreSqlOdbc, WrongPasswordShowsTheServersTextAndSavesNothing) {
  OdbcPageValues page = Page();
  page.password = "not-the-password";
  const Message m = TestOdbcConnection(*bench_.odbc, page);
  EXPECT_EQ(m.caption, "Error");
  EXPECT_NE(m.text.find("password authentication failed"), std::string::npos) << m.text;

  bench_.settings.password = "not-the-password";
  EXPECT_EQ(bench_.Write(Content("http://e.com", "t")), 0);
  ASSERT_EQ(bench_.user.messages().size(), 1u);
  EXPECT_NE(bench_.user.messages()[0].text.find("password authentication failed"),
            std::string::npos);
}

}  // namespace
}  // namespace ph::test
