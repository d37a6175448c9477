// The database output and the ODBC page's buttons against a PostgreSQL server on loopback.
#include <gtest/gtest.h>

#include "tests/controller/database/test_databases.h"

namespace ph::test {
namespace {

// PostgreSQL folds the unquoted table name to lower case, and so does every statement here.
class PostgreSqlOdbc : public ServerTableTest {
 protected:
  void SetUp() override { OpenTable(kPostgreSqlDsn); }
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
  ExpectWrongPasswordRefusedWith("password authentication failed");
}

}  // namespace
}  // namespace ph::test
