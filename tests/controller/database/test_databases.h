// The data sources the fixture configured, and a writer with a scripted user and a fixed clock.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "controller/outputs/database.h"
#include "controller/outputs/database_output.h"
#include "controller/outputs/database_setup.h"
#include "platform/clock.h"
#include "platform/user.h"

namespace ph::test {

constexpr char kSqliteDsn[] = "PageHarvest SQLite";
constexpr char kMariaDbDsn[] = "PageHarvest MariaDB";
constexpr char kDownDsn[] = "PageHarvest Down";  // a server that is not running
constexpr char kPostgreSqlDsn[] = "PageHarvest PostgreSQL";
constexpr char kMariaDbUser[] = "harvest";
constexpr char kMariaDbPassword[] = "Harvest-Pw-7";
constexpr char kReaderUser[] = "reader";  // may only read
constexpr char kReaderPassword[] = "Reader-Pw-7";

// The fixture's folder as the driver manager sees it (a host path, under Wine too).
inline std::string FixtureDir() {
  const char* dir = std::getenv("PH_DATABASE_FIXTURE");
  return dir ? dir : "";
}

// The SQLite table the writer appends to; SQLite numbers an INTEGER PRIMARY KEY itself.
inline std::string SqliteContentTable(const std::string& table) {
  return "CREATE TABLE " + table +
         " (id INTEGER PRIMARY KEY, content_date DATE, url VARCHAR(255), content TEXT)";
}

// Fails the test when the program was not started by CTest with the database fixture.
#define PH_REQUIRE_DATABASE_FIXTURE()                                                   \
  do {                                                                                  \
    if (::ph::test::FixtureDir().empty())                                               \
      FAIL() << "PH_DATABASE_FIXTURE is not set: run these tests through ctest, whose " \
                "fixture starts the database server";                                   \
  } while (0)

// The ODBC settings of the named SQLite data source, pointed at a database file of the test's own.
inline SettingsRecord SqliteSettings(const std::string& file_name, const std::string& table) {
  SettingsRecord settings;
  settings.db_type = kDatabaseOdbc;
  settings.dsn = kSqliteDsn;
  settings.extra = "Database=" + FixtureDir() + "/sqlite/" + file_name;
  settings.odbc_table = table;
  return settings;
}

// The MariaDB and the PostgreSQL server know the same account.
inline SettingsRecord ServerSettings(const char* dsn, const std::string& table) {
  SettingsRecord settings;
  settings.db_type = kDatabaseOdbc;
  settings.dsn = dsn;
  settings.user = kMariaDbUser;
  settings.password = kMariaDbPassword;
  settings.odbc_table = table;
  return settings;
}


inline std::unique_ptr<DatabaseConnection> Connect(Database& database,
                                                   const SettingsRecord& settings) {
  std::string error;
  auto connection = database.Connect(OdbcConnectionString(OdbcSourceOf(settings)), &error);
  EXPECT_TRUE(connection) << error;
  return connection;
}

inline QueryRows Rows(DatabaseConnection& connection, const std::string& sql) {
  QueryRows rows;
  std::string error;
  EXPECT_TRUE(connection.Query(sql, &rows, &error)) << sql << ": " << error;
  return rows;
}

inline LocalTime SomeMorning() { return LocalTime{2031, 4, 5, 6, 7, 8, 0}; }

// Everything the writer takes, with the real ODBC port that never lets a driver prompt.
struct WriterBench {
  SettingsRecord settings;
  ScriptedUser user;
  FakeClock clock{SomeMorning()};
  std::unique_ptr<Database> odbc = MakeOdbcDatabase(DriverPrompt::kNever);
  std::unique_ptr<AccessEngine> access = MakeAccessEngine();

  int Write(const OutputContext& context) {
    return DatabaseWriter(settings, user, clock, *odbc, *access).Write(context);
  }
};

inline OutputContext Content(std::string url, std::string text, std::string html = "<p>html</p>",
                             std::int32_t portion = kPortionAuto) {
  OutputContext context;
  context.url = std::move(url);
  context.text = std::move(text);
  context.html = std::move(html);
  context.portion = portion;
  return context;
}

// A table of the test's own on one of the servers, dropped before the test, so the tests may run
// side by side; the writer and the ODBC page are set to it.
class ServerTableTest : public ::testing::Test {
 protected:
  void OpenTable(const char* dsn) {
    PH_REQUIRE_DATABASE_FIXTURE();
    table_ = std::string("t_") + ::testing::UnitTest::GetInstance()->current_test_info()->name();
    bench_.settings = ServerSettings(dsn, table_);
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

  std::string ErrorShown() const {
    EXPECT_EQ(bench_.user.messages().size(), 1u);
    if (bench_.user.messages().empty()) return "";
    EXPECT_EQ(bench_.user.messages()[0].caption, "Error");
    EXPECT_EQ(bench_.user.messages()[0].icon, MessageIcon::kError);
    return bench_.user.messages()[0].text;
  }

  // The page's "Test Connection" and the writer both show the server's words, and nothing is saved.
  void ExpectWrongPasswordRefusedWith(const std::string& words) {
    OdbcPageValues page = Page();
    page.password = "not-the-password";
    const Message m = TestOdbcConnection(*bench_.odbc, page);
    EXPECT_EQ(m.caption, "Error");
    EXPECT_NE(m.text.find(words), std::string::npos) << m.text;

    bench_.settings.password = "not-the-password";
    EXPECT_EQ(bench_.Write(Content("http://e.com", "t")), 0);
    EXPECT_NE(ErrorShown().find(words), std::string::npos);
  }

  std::string table_;
  WriterBench bench_;
  std::unique_ptr<DatabaseConnection> admin_;
};

}  // namespace ph::test
