// The database port: ODBC connections and Access files, as the writer and the setup pages use them.
#pragma once

#include <memory>

#include "common/base.h"
#include "platform/clock.h"

namespace ph {

// One row of the content table; the database numbers the id column itself.
struct ContentRow {
  LocalTime content_date;
  std::string url;      // ANSI; longer text is cut to kUrlColumnSize characters
  std::string content;  // ANSI; longer text is cut to kContentColumnSize characters
};

constexpr std::size_t kUrlColumnSize = 255;
constexpr std::size_t kContentColumnSize = 65000;

// How appending a row ended. Only kAppended added a row; the others added nothing.
enum class AppendOutcome {
  kAppended,
  kTableNotOpened,  // the table with its four columns could not be opened
  kNotAppendable,   // the data source or the table is read-only
  kUpdateFailed,    // the row was rejected
};

// Rows of a query as text, for checks; NULL reads as an empty string.
using QueryRows = std::vector<std::vector<std::string>>;

// An open ODBC connection; closed when destroyed.
class DatabaseConnection {
 public:
  virtual ~DatabaseConnection() = default;
  // Runs one statement as it stands; false with the driver's error text.
  virtual bool Execute(std::string_view sql, std::string* error) = 0;
  // Appends one row to the table (named as configured, inserted into the statements as it stands),
  // with every value bound as a parameter. The error text is set for every outcome but kAppended.
  virtual AppendOutcome AppendContentRow(std::string_view table, const ContentRow& row,
                                         std::string* error) = 0;
  virtual bool Query(std::string_view sql, QueryRows* rows, std::string* error) = 0;
};

// Opens ODBC connections from connection strings of the form "ODBC;DSN=...;UID=..." (the "ODBC;"
// prefix is optional).
class Database {
 public:
  virtual ~Database() = default;
  // nullptr with the driver manager's or the driver's error text when the connection fails.
  virtual std::unique_ptr<DatabaseConnection> Connect(std::string_view connection_string,
                                                      std::string* error) = 0;
};

enum class DriverPrompt {
  kNever,     // missing details make the connection fail (tests, unattended runs)
  kComplete,  // the driver may ask for missing details (Windows only; natively the same as kNever)
};

std::unique_ptr<Database> MakeOdbcDatabase(DriverPrompt prompt);

// An open Microsoft Access database file; closed when destroyed.
class AccessDatabase {
 public:
  virtual ~AccessDatabase() = default;
  // Runs one statement, failing on any error; false with the engine's error description.
  virtual bool Execute(std::string_view sql, std::string* error) = 0;
  // Opens the table and appends one row: kAppended, kNotAppendable (nothing added, no error text)
  // or kUpdateFailed with the engine's error description for anything the engine refused.
  virtual AppendOutcome AppendContentRow(std::string_view table, const ContentRow& row,
                                         std::string* error) = 0;
};

// Opens Access files through the DAO database engine.
class AccessEngine {
 public:
  virtual ~AccessEngine() = default;
  // nullptr with the engine's error description (or a note that no engine is installed).
  virtual std::unique_ptr<AccessDatabase> Open(std::string_view path, std::string_view connect,
                                               std::string* error) = 0;
};

// The text shown when the machine has no DAO engine to open Access files with.
extern const char kNoAccessEngineMessage[];

std::unique_ptr<AccessEngine> MakeAccessEngine();

}  // namespace ph
