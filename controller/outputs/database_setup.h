// The ODBC and Access pages' buttons: connection tests and table creation, with the message shown.
#pragma once

#include "controller/outputs/database.h"
#include "controller/outputs/database_statements.h"
#include "platform/user.h"

namespace ph {

// The boxes of the ODBC page as last read.
struct OdbcPageValues {
  bool file_dsn_checked = false;  // "File DSN" rather than "DSN"
  std::string dsn;
  std::string file_dsn;
  std::string user;
  std::string password;
  std::string extra;
  std::string table;
};

// The boxes of the Access page as last read.
struct AccessPageValues {
  std::string path;
  std::string password;
  std::string table;
};

// The connection string of the settings, built from the page instead.
std::string OdbcPageConnectionString(const OdbcPageValues& page);

// "Test Connection": connects and disconnects again.
Message TestOdbcConnection(Database& database, const OdbcPageValues& page);

// "Create Table For Access" and "Create Table For MySQL".
Message CreateOdbcTable(Database& database, const OdbcPageValues& page, TableDialect dialect);

// The Access page's "Test": opens the file and closes it again.
Message TestAccessFile(AccessEngine& engine, const AccessPageValues& page);

// The Access page's "Create Table".
Message CreateAccessTable(AccessEngine& engine, const AccessPageValues& page);

// The file choosers behind the two "Browse..." buttons.
FileChoice OdbcFileDsnChoice();
FileChoice AccessFileChoice();

}  // namespace ph
