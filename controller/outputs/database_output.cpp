// The database writer: one piece of content as a new row of the content table.
#include "controller/outputs/database_output.h"

#include "controller/outputs/database_statements.h"

namespace ph {

const char kNoAccessEngineMessage[] =
    "Microsoft Access files cannot be opened on this computer: the DAO database engine is not "
    "installed. Install the Microsoft Access Database Engine, or choose \"Use ODBC\" on the "
    "Database page.";

OdbcSource OdbcSourceOf(const SettingsRecord& settings) {
  OdbcSource source;
  source.use_file_dsn = settings.use_file_dsn;
  source.dsn = settings.dsn;
  source.file_dsn = settings.file_dsn;
  source.user = settings.user;
  source.password = settings.password;
  source.extra = settings.extra;
  return source;
}

int DatabaseWriter::Write(const OutputContext& context) {
  switch (settings_.db_type) {
    case kDatabaseOdbc: return WriteOdbc(context);
    case kDatabaseAccess: return WriteAccess(context);
    default: return 0;
  }
}

int DatabaseWriter::WriteOdbc(const OutputContext& context) {
  const OdbcSource source = OdbcSourceOf(settings_);
  if (DataSourceMissing(source)) {
    ShowError("DSN Not Specified! Configure Database First");
    return 0;
  }
  std::string error;
  std::unique_ptr<DatabaseConnection> connection =
      odbc_.Connect(OdbcConnectionString(source), &error);
  if (!connection) {
    ShowError(std::move(error));
    return 0;
  }
  // The table was reached: whatever happens to the row now, the user has been told and the content
  // counts as handled.
  switch (connection->AppendContentRow(settings_.odbc_table, RowFor(context), &error)) {
    case AppendOutcome::kAppended: break;
    case AppendOutcome::kTableNotOpened: ShowError("Could not open record set!"); break;
    case AppendOutcome::kNotAppendable: ShowError("Cannot add to datebase!"); break;
    case AppendOutcome::kUpdateFailed: ShowError("Failed to update recordset!"); break;
  }
  return 1;
}

int DatabaseWriter::WriteAccess(const OutputContext& context) {
  std::string error;
  std::unique_ptr<AccessDatabase> database =
      access_.Open(settings_.access_path, AccessConnectString(settings_.access_password), &error);
  if (!database) {
    ShowError(std::move(error));
    return 0;
  }
  switch (database->AppendContentRow(settings_.access_table, RowFor(context), &error)) {
    case AppendOutcome::kAppended: return 1;
    case AppendOutcome::kNotAppendable: ShowError("Cannot append to database."); return 1;
    case AppendOutcome::kTableNotOpened:
    case AppendOutcome::kUpdateFailed: break;
  }
  ShowError(std::move(error));
  return 0;
}

ContentRow DatabaseWriter::RowFor(const OutputContext& context) {
  ContentRow row;
  row.content_date = clock_.Now();
  row.url = context.url;
  row.content = context.portion == kPortionHtml ? context.html : context.text;
  return row;
}

void DatabaseWriter::ShowError(std::string text) {
  Message message;
  message.text = std::move(text);
  message.caption = "Error";
  message.icon = MessageIcon::kError;
  user_.Show(message);
}

}  // namespace ph
