// The database writer: one piece of content as a new row of an ODBC or Access content table.
#pragma once

#include "controller/outputs/database.h"
#include "controller/outputs/database_statements.h"
#include "controller/outputs/output_context.h"
#include "common/settings_record.h"
#include "platform/clock.h"
#include "platform/user.h"

namespace ph {

// "DB Type" values.
constexpr std::int32_t kDatabaseOdbc = 0;
constexpr std::int32_t kDatabaseAccess = 1;

class DatabaseWriter {
 public:
  // Everything is borrowed and must outlive the writer; the settings are read afresh at each write.
  DatabaseWriter(const SettingsRecord& settings, UserPort& user, Clock& clock, Database& odbc,
                 AccessEngine& access)
      : settings_(settings), user_(user), clock_(clock), odbc_(odbc), access_(access) {}

  // Nonzero when the content was dealt with (a row was added, or the table refused it and the user
  // was told so); 0 when nothing could be reached, so that a stored action falls back to asking.
  int Write(const OutputContext& context);

 private:
  int WriteOdbc(const OutputContext& context);
  int WriteAccess(const OutputContext& context);
  ContentRow RowFor(const OutputContext& context);
  void ShowError(std::string text);

  const SettingsRecord& settings_;
  UserPort& user_;
  Clock& clock_;
  Database& odbc_;
  AccessEngine& access_;
};

// The ODBC details of the settings record.
OdbcSource OdbcSourceOf(const SettingsRecord& settings);

}  // namespace ph
