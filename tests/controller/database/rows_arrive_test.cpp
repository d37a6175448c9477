// Writes the marked rows that the suite's last step looks for with the sqlite3, mariadb and psql clients.
#include <gtest/gtest.h>

#include "tests/controller/database/test_databases.h"
#include "tests/support/mixed_script.h"

namespace ph::test {
namespace {

#ifdef _WIN32
constexpr char kTag[] = "wine";
#else
constexpr char kTag[] = "native";
#endif

void WriteMarkedRow(SettingsRecord settings, const std::string& create_table) {
  WriterBench bench;
  bench.settings = std::move(settings);
  bench.settings.odbc_table = "arrivals";
  auto connection = Connect(*bench.odbc, bench.settings);
  ASSERT_TRUE(connection);
  std::string error;
  connection->Execute(create_table, &error);  // the other build's run may have made it already
  const std::string url = std::string("https://pageharvest.test/arrived/") + kTag;
  ASSERT_TRUE(connection->Execute("DELETE FROM arrivals WHERE url = '" + url + "'", &error))
      << error;
  EXPECT_NE(bench.Write(Content(url, Utf8Of(kMixedScript))), 0);
  EXPECT_TRUE(bench.user.messages().empty()) << bench.user.messages()[0].text;
}

TEST(RowsArrive, ThroughTheNamedAndTheFileDataSourceAndTheServers) {
  PH_REQUIRE_DATABASE_FIXTURE();
  SettingsRecord sqlite;
  sqlite.dsn = kSqliteDsn;
  WriteMarkedRow(sqlite, SqliteContentTable("arrivals"));

  SettingsRecord file;
  file.use_file_dsn = 1;
  file.file_dsn = FixtureDir() + "/content.dsn";
  WriteMarkedRow(file, SqliteContentTable("arrivals"));

  WriteMarkedRow(ServerSettings(kMariaDbDsn, "arrivals"),
                 CreateTableStatement("arrivals", TableDialect::kMySql));
  WriteMarkedRow(ServerSettings(kPostgreSqlDsn, "arrivals"),
                 CreateTableStatement("arrivals", TableDialect::kPostgreSql));
}

}  // namespace
}  // namespace ph::test
