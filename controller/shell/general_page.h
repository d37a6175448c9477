// The General settings page apart from its window: its values, OK's checks in order, and clearing
// the quick-save data.
#pragma once

#include <array>
#include <optional>

#include "common/base.h"
#include "common/modifier_set.h"
#include "platform/user.h"

namespace ph {

class FileSystem;
struct SettingsRecord;

// The four key boxes, in the order their sets are checked and stored.
enum KeyBox { kNormalKeyBox, kMultiKeyBox, kDeselectKeyBox, kExcludeTableKeyBox, kKeyBoxCount };

// What the page shows, and what OK reads back from its controls.
struct GeneralPageValues {
  bool auto_start = false;
  bool suppress_hyperlinks = false;
  bool datetime_url = false;
  std::uint32_t color = 0;
  std::array<ModifierSet, kKeyBoxCount> keys = {};
  std::string length_text;
  int append_type = -1;  // the checked radio button: 0, 1 or 2; -1 when none is
};

GeneralPageValues GeneralPageFromSettings(const SettingsRecord& settings);

// The number at the start of the text, as atoi reads it: leading blanks, an optional sign, then
// digits up to the first other character; 0 without digits. Huge numbers stop growing instead of
// overflowing.
long LeadingNumber(std::string_view text);

// OK on the General page. Refuses, with the message to show, when a key set is empty or two are
// equal (the record untouched), or when the length is not 1 to 49 (the flags, keys and colour are
// already in the record then, and stay there).
std::optional<Message> StoreGeneralPage(const GeneralPageValues& page, SettingsRecord* settings);

// "Clear Quick Save Data": asks, and on Yes deletes the three data files beside the program.
// Failures are not reported.
void ClearQuickSaveData(UserPort& user, FileSystem& fs);

}  // namespace ph
