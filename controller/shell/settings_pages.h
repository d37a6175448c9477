// The settings dialog apart from its window: the database pages' values, and OK over all pages.
#pragma once

#include "controller/outputs/database_setup.h"
#include "controller/shell/general_page.h"

namespace ph {

class Registry;
struct SettingsRecord;

// The Database page's two radio buttons.
enum class DatabaseChoice { kNone, kOdbc, kAccess };

DatabaseChoice DatabasePageFromSettings(const SettingsRecord& settings);
OdbcPageValues OdbcPageFromSettings(const SettingsRecord& settings);
AccessPageValues AccessPageFromSettings(const SettingsRecord& settings);

// What every page holds when OK is pressed.
struct SettingsPages {
  GeneralPageValues general;
  bool odbc_checked = false;  // "Use ODBC" on the Database page
  OdbcPageValues odbc;
  AccessPageValues access;
};

// OK: the General page checks and stores (a refusal is shown and keeps the dialog open); then the
// database pages store, which they always may, and the record is saved. True when the dialog may
// close.
bool ConfirmSettings(const SettingsPages& pages, SettingsRecord* settings, UserPort& user,
                     Registry& registry, std::string_view exe_path);

}  // namespace ph
