// The database pages' copies of the settings, and what OK does with every page.
#include "controller/shell/settings_pages.h"

#include "controller/outputs/database_output.h"
#include "controller/shell/settings.h"

namespace ph {

DatabaseChoice DatabasePageFromSettings(const SettingsRecord& s) {
  if (s.db_type == 0) return DatabaseChoice::kOdbc;
  if (s.db_type == 1) return DatabaseChoice::kAccess;
  return DatabaseChoice::kNone;
}

OdbcPageValues OdbcPageFromSettings(const SettingsRecord& s) {
  OdbcPageValues page;
  static_cast<OdbcSource&>(page) = OdbcSourceOf(s);
  page.table = s.odbc_table;
  return page;
}

AccessPageValues AccessPageFromSettings(const SettingsRecord& s) {
  return AccessPageValues{s.access_path, s.access_password, s.access_table};
}

bool ConfirmSettings(const SettingsPages& pages, SettingsRecord* s, UserPort& user, Registry& registry,
                     std::string_view exe_path) {
  if (const std::optional<Message> refusal = StoreGeneralPage(pages.general, s)) {
    user.Show(*refusal);
    return false;
  }
  s->db_type = pages.odbc_checked ? 0 : 1;

  const OdbcPageValues& odbc = pages.odbc;
  s->dsn = odbc.dsn;
  s->file_dsn = odbc.file_dsn;
  s->odbc_table = odbc.table;
  s->user = odbc.user;
  s->password = odbc.password;
  s->extra = odbc.extra;
  s->use_file_dsn = odbc.use_file_dsn != 0 ? 1 : 0;

  s->access_path = pages.access.path;
  s->access_password = pages.access.password;
  s->access_table = pages.access.table;

  SaveSettings(registry, *s, exe_path);
  return true;
}

}  // namespace ph
