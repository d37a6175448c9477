// Connection strings and statements as the drivers receive them.
#include "controller/outputs/database_statements.h"

#include <gtest/gtest.h>

#include "controller/outputs/database_setup.h"
#include "controller/shell/settings.h"

namespace ph {
namespace {

TEST(ConnectionStrings, FollowTheSettingsInOrderAndLeaveEmptyPartsOut) {
  OdbcSource source;
  source.dsn = "Shop";
  source.file_dsn = "C:\\dsn\\shop.dsn";
  EXPECT_EQ(OdbcConnectionString(source), "ODBC;DSN=Shop");

  source.user = "ann";
  source.extra = "SERVER=db;PORT=3306";
  EXPECT_EQ(OdbcConnectionString(source), "ODBC;DSN=Shop;UID=ann;SERVER=db;PORT=3306");

  source.user.clear();
  EXPECT_EQ(OdbcConnectionString(source), "ODBC;DSN=Shop;SERVER=db;PORT=3306");

  source.user = "ann";
  source.password = "p;w=x";  // as typed: no quoting of any value
  source.use_file_dsn = 1;
  EXPECT_EQ(OdbcConnectionString(source),
            "ODBC;FILEDSN=C:\\dsn\\shop.dsn;UID=ann;PWD=p;w=x;SERVER=db;PORT=3306");
}

TEST(ConnectionStrings, AgreeWithTheSettingsStoreForEveryFileDsnValue) {
  for (std::int32_t use_file_dsn : {0, 1, 2, -1}) {
    SettingsRecord settings;
    settings.use_file_dsn = use_file_dsn;
    settings.dsn = "named";
    settings.file_dsn = "/x/file.dsn";
    settings.user = "u";
    settings.extra = "A=1";
    OdbcSource source;
    source.use_file_dsn = use_file_dsn;
    source.dsn = settings.dsn;
    source.file_dsn = settings.file_dsn;
    source.user = settings.user;
    source.extra = settings.extra;
    EXPECT_EQ(OdbcConnectionString(source), ConnectionString(settings)) << use_file_dsn;
    // The empty-name check looks at the same field the connection would use.
    source.file_dsn.clear();
    EXPECT_EQ(DataSourceMissing(source), use_file_dsn != 0) << use_file_dsn;
  }
}

TEST(ConnectionStrings, FromThePageFollowTheCheckedSource) {
  OdbcPageValues page;
  page.dsn = "Named";
  page.file_dsn = "/dsn/a.dsn";
  page.extra = "Timeout=1";
  EXPECT_EQ(OdbcConnectionString(page), "ODBC;DSN=Named;Timeout=1");
  page.use_file_dsn = 1;
  EXPECT_EQ(OdbcConnectionString(page), "ODBC;FILEDSN=/dsn/a.dsn;Timeout=1");
}

TEST(ConnectionStrings, DriverManagerGetsThemWithoutTheOdbcMarker) {
  EXPECT_EQ(DriverConnectionString("ODBC;DSN=a;UID=b"), "DSN=a;UID=b");
  EXPECT_EQ(DriverConnectionString("odbc;DSN=a"), "DSN=a");
  EXPECT_EQ(DriverConnectionString("DSN=ODBC;"), "DSN=ODBC;");
  EXPECT_EQ(DriverConnectionString("ODBC"), "ODBC");
}

TEST(FileDataSources, TheFilesOdbcSectionStandsInForFiledsnAndTheStringsOwnValuesWin) {
  const std::string file =
      "; made by hand\r\n[ODBC]\r\nDRIVER = SQLite3\r\nDatabase=/data/a.db\r\nUID=fromfile\r\n"
      "[Other]\r\nDatabase=/elsewhere.db\r\n";
  EXPECT_EQ(FileDsnAttributes(file), "DRIVER=SQLite3;Database=/data/a.db;UID=fromfile");
  const std::string driver_string = "FILEDSN=C:\\x\\a.dsn;UID=ann;PWD={p;w}";
  EXPECT_EQ(FileDsnPath(driver_string), "C:\\x\\a.dsn");
  EXPECT_EQ(MergeFileDsn(driver_string, FileDsnAttributes(file)),
            "DRIVER=SQLite3;Database=/data/a.db;UID=ann;PWD={p;w}");
  EXPECT_EQ(FileDsnPath("DSN=named;UID=ann"), "");
  EXPECT_EQ(FileDsnAttributes("DRIVER=x\n"), "");  // outside any section
}

TEST(ConnectionStrings, AccessConnectCarriesOnlyAGivenPassword) {
  EXPECT_EQ(AccessConnectString(""), "");
  EXPECT_EQ(AccessConnectString("s3cret"), ";PWD=s3cret");
}

TEST(Statements, CreateTableKeepsEachDialectByteForByte) {
  EXPECT_EQ(CreateTableStatement("pages", TableDialect::kAccess),
            "CREATE TABLE pages  (id autoincrement PRIMARY KEY,content_date DATE,url "
            "TEXT(255),content MEMO);");
  EXPECT_EQ(CreateTableStatement("my pages", TableDialect::kMySql),
            "CREATE TABLE my pages (id INT UNSIGNED NOT NULL AUTO_INCREMENT, content_date DATETIME,"
            "url VARCHAR(255), content TEXT, PRIMARY KEY(id))");
}

TEST(Statements, ColumnsAreQuotedWithTheDriversCharacterAndTheTableIsNot) {
  EXPECT_EQ(ContentSelectStatement("t", "`"),
            "SELECT `id`,`content_date`,`url`,`content` FROM t WHERE 1=0");
  EXPECT_EQ(ContentInsertStatement("db.t", "\""),
            "INSERT INTO db.t (\"content_date\",\"url\",\"content\") VALUES (?,?,?)");
  // A driver without identifier quoting answers with a blank.
  EXPECT_EQ(ContentInsertStatement("t", " "),
            "INSERT INTO t (content_date,url,content) VALUES (?,?,?)");
  EXPECT_EQ(QuoteIdentifier("url", ""), "url");
}

TEST(Statements, TextIsCutToTheColumnWithoutSplittingACharacter) {
  EXPECT_EQ(CutToColumn(u"abc", 3), u"abc");
  EXPECT_EQ(CutToColumn(u"abcd", 3), u"abc");
  EXPECT_EQ(CutToColumn(u"", 0), u"");
  const std::u16string clef = u"ab\U0001D11E";  // a, b and one character in two units
  EXPECT_EQ(CutToColumn(clef, 3), u"ab");
  EXPECT_EQ(CutToColumn(clef, 4), clef);
}

}  // namespace
}  // namespace ph
