// The controller's settings record loaded from and saved to the registry, and the values made from it.
#pragma once

#include "common/settings_record.h"

namespace ph {

class Registry;

// Fills the record from the registry, creating the product key and its two sub-keys on the way.
// Missing or unreadable values keep what the record held.
void LoadSettings(Registry& registry, SettingsRecord* settings);

// Writes every value of the record; the Run value is set to exe_path exactly when auto-start is on.
void SaveSettings(Registry& registry, const SettingsRecord& settings, std::string_view exe_path);

// The ODBC connection string built from the ODBC fields (the database output's own form).
std::string ConnectionString(const SettingsRecord& settings);

// What the registry holds in place of a password, and back.
std::string ScramblePassword(std::string_view plain);
std::string UnscramblePassword(std::string_view scrambled);

}  // namespace ph
