// Connections that let the driver ask for missing details, as the Windows program opens them.
#include <gtest/gtest.h>

#include "tests/controller/database/test_databases.h"

namespace ph::test {
namespace {

TEST(DriverPrompt, CompleteStringsConnectWithoutAsking) {
  PH_REQUIRE_DATABASE_FIXTURE();
  std::unique_ptr<Database> odbc = MakeOdbcDatabase(DriverPrompt::kComplete);
  std::string error;
  EXPECT_TRUE(odbc->Connect(std::string("ODBC;DSN=") + kSqliteDsn + ";Database=" + FixtureDir() +
                                "/sqlite/prompt.db",
                            &error))
      << error;
}

TEST(DriverPrompt, MissingDetailsFailInsteadOfHanging) {
  PH_REQUIRE_DATABASE_FIXTURE();
  std::unique_ptr<Database> odbc = MakeOdbcDatabase(DriverPrompt::kComplete);
  std::string error;
  EXPECT_FALSE(odbc->Connect("ODBC;DSN=No Such Source", &error));
  EXPECT_FALSE(error.empty());
  // A password left out is what a driver would ask for; where it has no dialog to show (under
  // Wine the drivers are the host's), the connection fails with the driver's reason.
  error.clear();
  EXPECT_FALSE(odbc->Connect(std::string("ODBC;DSN=") + kMariaDbDsn + ";UID=" + kMariaDbUser, &error));
  EXPECT_FALSE(error.empty());
}

}  // namespace
}  // namespace ph::test
