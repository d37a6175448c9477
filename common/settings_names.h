// Registry keys and value names shared by the controller and the band.
#pragma once

namespace ph::reg {

// Under HKEY_CURRENT_USER.
inline constexpr char kProductKey[] = "Software\\PageHarvest";
inline constexpr char kOdbcKey[] = "Software\\PageHarvest\\ODBC";
inline constexpr char kAccessKey[] = "Software\\PageHarvest\\Access";
inline constexpr char kRunKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
inline constexpr char kRunValue[] = "PageHarvest";

// Product key.
inline constexpr char kHighlightColor[] = "Highlight Color";
inline constexpr char kSuppressHyperlink[] = "Suppress Hyperlink";
inline constexpr char kNormalHotkeyMod[] = "Normal Hotkey Mod";
inline constexpr char kMultiHotkeyMod[] = "Multi Hotkey Mod";
inline constexpr char kDeselectHotkeyMod[] = "Deselect Hotkey Mod";
inline constexpr char kExcludeTableHotkeyMod[] = "Exclude Table Hotkey Mod";
inline constexpr char kNameAppendType[] = "Name Append Type";
inline constexpr char kNameAppendLen[] = "Name Append Len";
inline constexpr char kDbType[] = "DB Type";
inline constexpr char kAppendFiles[] = "Append Files";
inline constexpr char kDatetimeUrl[] = "Datetime URL";
inline constexpr char kControllerPath[] = "Controller Path";
inline constexpr char kBandIconSize[] = "Band Icon Size";
inline constexpr char kBandTextStyle[] = "Band Text Style";
// Band only: 1 = Quick Save finds regions whose paths fail by what they looked like (default 0).
inline constexpr char kSmartRelocation[] = "Smart Relocation";
// Band only: how "Auto Selection" picks: 0 the cell or block with the most text of its own (default),
// 1 the article.
inline constexpr char kAutoSelectionMode[] = "Auto Selection Mode";

// ODBC sub-key.
inline constexpr char kUseFileDsn[] = "Use File DSN";
inline constexpr char kDsn[] = "DSN";
inline constexpr char kFileDsn[] = "File DSN";
inline constexpr char kUser[] = "User";
inline constexpr char kPass[] = "Pass";
inline constexpr char kExtra[] = "Extra";
inline constexpr char kTableName[] = "Table Name";

// Access sub-key ("Table Name" as above).
inline constexpr char kPath[] = "Path";
inline constexpr char kPassword[] = "Password";

}  // namespace ph::reg
