// OK's checks of the General page, in their order, and the deleting of the quick-save files.
#include "controller/shell/general_page.h"

#include "common/data_file_names.h"
#include "controller/shell/settings.h"
#include "platform/data_file.h"
#include "platform/file_system.h"

namespace ph {
namespace {

constexpr long kNumberCap = 1000000000L;

Message Refusal(const char* text, MessageIcon icon) {
  Message message;
  message.text = text;
  message.caption = "Error";
  message.icon = icon;
  return message;
}

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r'; }

}  // namespace

GeneralPageValues GeneralPageFromSettings(const SettingsRecord& s) {
  GeneralPageValues page;
  page.auto_start = s.auto_start != 0;
  page.suppress_hyperlinks = s.suppress_hyperlinks != 0;
  page.datetime_url = s.datetime_url != 0;
  page.color = s.highlight_color;
  page.keys = {s.normal_mod, s.multi_mod, s.deselect_mod, s.exclude_table_mod};
  page.length_text = std::to_string(s.name_append_len);
  page.append_type = s.name_append_type >= 0 && s.name_append_type <= 2 ? s.name_append_type : -1;
  return page;
}

long LeadingNumber(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && IsBlank(text[i])) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  long number = 0;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i)
    if (number < kNumberCap) number = number * 10 + (text[i] - '0');
  return negative ? -number : number;
}

std::optional<Message> StoreGeneralPage(const GeneralPageValues& page, SettingsRecord* s) {
  const ModifierSet all = kModShift | kModCtrl | kModAlt;
  for (ModifierSet keys : page.keys)
    if (!(keys & all)) return Refusal("You must select modifier keys for both selection methods", MessageIcon::kNone);
  for (int a = 0; a < kKeyBoxCount; ++a)
    for (int b = a + 1; b < kKeyBoxCount; ++b)
      if (page.keys[a] == page.keys[b])
        return Refusal("You must choose different modifier keys for the hotkeys", MessageIcon::kNone);

  s->auto_start = page.auto_start ? 1 : 0;
  s->suppress_hyperlinks = page.suppress_hyperlinks ? 1 : 0;
  s->normal_mod = static_cast<std::uint16_t>(page.keys[kNormalKeyBox]);
  s->multi_mod = static_cast<std::uint16_t>(page.keys[kMultiKeyBox]);
  s->deselect_mod = static_cast<std::uint16_t>(page.keys[kDeselectKeyBox]);
  s->exclude_table_mod = static_cast<std::uint16_t>(page.keys[kExcludeTableKeyBox]);
  s->highlight_color = page.color;
  s->datetime_url = page.datetime_url ? 1 : 0;

  const long length = LeadingNumber(page.length_text);
  if (length < 1 || length > 49)
    return Refusal("Length of appended content must between 0-50 (exclusive)", MessageIcon::kError);
  s->name_append_len = static_cast<std::int32_t>(length);
  if (page.append_type >= 0 && page.append_type <= 2) s->name_append_type = page.append_type;
  return std::nullopt;
}

void ClearQuickSaveData(UserPort& user, FileSystem& fs) {
  Message ask;
  ask.text = "Are you sure you want to clear all quick save data?";
  ask.caption = "Confirm";
  ask.buttons = MessageButtons::kYesNo;
  if (user.Show(ask) != Answer::kYes) return;
  // Not while a band or grab is changing them; the region fingerprints go with the selections they
  // describe.
  const auto lock = LockDataFolder(fs, ModuleFolderFile(fs, kLayoutsFileName));
  for (const char* name : {kActionsFileName, kSelectionsFileName, kRegionsFileName, kLayoutsFileName})
    fs.RemoveFile(ModuleFolderFile(fs, name));
}

}  // namespace ph
