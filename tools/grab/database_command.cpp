// grab db test and grab db create-table on the database of the settings, as the configuration pages
// run them; the message goes to standard error.
#include "controller/outputs/database_output.h"
#include "controller/outputs/database_setup.h"
#include "controller/outputs/database_statements.h"
#include "controller/shell/settings_pages.h"
#include "tools/grab/commands.h"

namespace ph::grab {
namespace {

Message Refusal(const char* text) { return {text, "Error", MessageIcon::kError, MessageButtons::kOk}; }

Message OdbcTask(GrabParts& parts) {
  // Without a data source the driver manager would make one of its own, a file named "DSN=" here.
  if (DataSourceMissing(OdbcSourceOf(parts.settings))) return Refusal("DSN Not Specified! Configure Database First");
  const std::unique_ptr<Database> odbc = MakeOdbcDatabase(DriverPrompt::kNever);
  const OdbcPageValues page = OdbcPageFromSettings(parts.settings);
  if (parts.options.command == Command::kDbTest) return TestOdbcConnection(*odbc, page);
  return CreateOdbcTable(*odbc, page, parts.options.dialect);
}

Message AccessTask(GrabParts& parts) {
  const std::unique_ptr<AccessEngine> engine = MakeAccessEngine();
  const AccessPageValues page = AccessPageFromSettings(parts.settings);
  return parts.options.command == Command::kDbTest ? TestAccessFile(*engine, page) : CreateAccessTable(*engine, page);
}

}  // namespace

int RunDatabase(GrabParts& parts) {
  const Message message = parts.settings.db_type == kDatabaseAccess ? AccessTask(parts) : OdbcTask(parts);
  const bool failed = message.icon == MessageIcon::kError;
  if (failed || !parts.options.quiet) parts.user.Show(message);
  parts.SaveSettings();
  return failed ? 1 : 0;
}

bool OdbcTableMissing(const GrabParts& parts) {
  const bool wants_table = parts.options.command == Command::kDbCreateTable || parts.options.answer.kind == kOutputDatabase;
  return wants_table && parts.settings.db_type != kDatabaseAccess && parts.settings.odbc_table.empty();
}

void RefuseMissingTable(GrabParts& parts) { parts.user.Show(Refusal("Table name empty!")); }

}  // namespace ph::grab
