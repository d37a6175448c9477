// The ODBC and Access pages' buttons: connection tests and table creation, with the message shown.
#pragma once

#include "controller/outputs/database.h"
#include "controller/outputs/database_statements.h"
#include "platform/user.h"

namespace ph {

// The boxes of the ODBC page as last read: the source ("File DSN" checked is use_file_dsn), and the table.
struct OdbcPageValues : OdbcSource {
  std::string table;
};

// The boxes of the Access page as last read.
struct AccessPageValues {
  std::string path;
  std::string password;
  std::string table;
};

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
