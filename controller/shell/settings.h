// The controller's settings record, loaded from and saved to the registry.
#pragma once

#include "common/base.h"
#include "common/highlight_color.h"

namespace ph {

class Registry;

struct SettingsRecord {
  std::uint32_t highlight_color = kDefaultHighlightColor;
  std::int32_t auto_start = 0;
  std::int32_t suppress_hyperlinks = 1;
  std::int32_t append_files = 0;
  std::int32_t datetime_url = 0;
  std::int32_t name_append_type = 1;
  std::int32_t name_append_len = 10;
  std::uint16_t normal_mod = 2;         // Ctrl
  std::uint16_t multi_mod = 1;          // Shift
  std::uint16_t deselect_mod = 4;       // Alt
  std::uint16_t exclude_table_mod = 6;  // Ctrl + Alt
  std::int32_t db_type = 0;
  std::string dsn;
  std::string file_dsn;
  std::int32_t use_file_dsn = 0;
  std::string user;
  std::string password;  // always plain here; scrambled only in the registry
  std::string extra;
  std::string odbc_table;
  std::string access_path;
  std::string access_password;
  std::string access_table;
};

// Longest string value the settings will read; anything longer keeps the field as it was.
constexpr std::size_t kMaxSettingString = 32 * 1024;

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
