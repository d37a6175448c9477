// What the buttons of the ODBC and Access configuration pages do.
#include "controller/outputs/database_setup.h"

namespace ph {
namespace {

Message Error(std::string text) {
  Message message;
  message.text = std::move(text);
  message.caption = "Error";
  message.icon = MessageIcon::kError;
  return message;
}

Message Notice(std::string text, std::string caption) {
  Message message;
  message.text = std::move(text);
  message.caption = std::move(caption);
  return message;
}

}  // namespace

Message TestOdbcConnection(Database& database, const OdbcPageValues& page) {
  std::string error;
  if (!database.Connect(OdbcConnectionString(page), &error)) return Error(std::move(error));
  return Notice("Connection Test Successful!", "ODBC");
}

Message CreateOdbcTable(Database& database, const OdbcPageValues& page, TableDialect dialect) {
  if (page.table.empty()) return Error("Table name empty!");
  std::string error;
  std::unique_ptr<DatabaseConnection> connection =
      database.Connect(OdbcConnectionString(page), &error);
  if (!connection || !connection->Execute(CreateTableStatement(page.table, dialect), &error))
    return Error(std::move(error));
  return Notice("Table created successfully", "Table Creation");
}

Message TestAccessFile(AccessEngine& engine, const AccessPageValues& page) {
  std::string error;
  if (!engine.Open(page.path, AccessConnectString(page.password), &error))
    return Error(std::move(error));
  return Notice("Test Successful", "");
}

Message CreateAccessTable(AccessEngine& engine, const AccessPageValues& page) {
  // An empty table name goes to the engine as well: its own description of the fault is shown.
  std::string error;
  std::unique_ptr<AccessDatabase> database =
      engine.Open(page.path, AccessConnectString(page.password), &error);
  if (!database ||
      !database->Execute(CreateTableStatement(page.table, TableDialect::kAccess), &error))
    return Error(std::move(error));
  return Notice("Table Creation Successful", "");
}

FileChoice OdbcFileDsnChoice() {
  FileChoice choice;
  choice.save = false;
  choice.filter = "DSN File|*.dsn|";
  choice.default_ext = "txt";
  return choice;
}

FileChoice AccessFileChoice() {
  FileChoice choice;
  choice.save = false;
  choice.filter = "Access Database File (*.mdb)|*.mdb||";
  choice.default_ext = "mdb";
  return choice;
}

}  // namespace ph
