// Connection strings and SQL statements that the database writer and the setup pages send.
#pragma once

#include "common/base.h"

namespace ph {

// The ODBC connection details as the settings and the ODBC page hold them.
struct OdbcSource {
  std::int32_t use_file_dsn = 0;  // nonzero: the file data source
  std::string dsn;
  std::string file_dsn;
  std::string user;
  std::string password;
  std::string extra;  // further attributes, appended as they stand
};

// The chosen data source (named or file) is empty, so there is nothing to connect to.
bool DataSourceMissing(const OdbcSource& source);

// "ODBC;" then "FILEDSN=..." or "DSN=...", then ";UID=", ";PWD=" and ";" with the extra text for
// those that are not empty. No value is quoted: the user's text is the driver's text.
std::string OdbcConnectionString(const OdbcSource& source);

// What the driver manager is given: the connection string without its "ODBC;" marker.
std::string DriverConnectionString(std::string_view connection_string);

// The file named by a FILEDSN attribute of a driver connection string, or empty.
std::string FileDsnPath(std::string_view driver_string);

// The "KEY=value" lines of the [ODBC] section of a file data source, joined by ';'.
std::string FileDsnAttributes(std::string_view file_text);

// The connection string with its FILEDSN attribute replaced by the file's attributes; where both
// name the same keyword, the connection string's own value wins.
std::string MergeFileDsn(std::string_view driver_string, std::string_view file_attributes);

// Empty, or ";PWD=" and the password.
std::string AccessConnectString(std::string_view password);

enum class TableDialect { kAccess, kMySql, kSqlite, kPostgreSql };

// "CREATE TABLE <table>" and the dialect's column list; the table name goes in as typed.
std::string CreateTableStatement(std::string_view table, TableDialect dialect);

// A column name between the driver's identifier quote characters; a blank or empty quote (the
// driver quotes nothing) leaves it bare.
std::string QuoteIdentifier(std::string_view name, std::string_view quote);

// Opens the four columns of the content table without reading any row.
std::string ContentSelectStatement(std::string_view table, std::string_view quote);

// Appends one row with three parameters: content_date, url, content.
std::string ContentInsertStatement(std::string_view table, std::string_view quote);

// The first `units` UTF-16 units of the text, never ending in half of a surrogate pair.
std::u16string CutToColumn(std::u16string text, std::size_t units);

}  // namespace ph
