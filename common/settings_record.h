// The controller's settings as one record: what the registry holds, read by the intake and the outputs.
#pragma once

#include "common/base.h"
#include "common/highlight_color.h"

namespace ph {

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

}  // namespace ph
