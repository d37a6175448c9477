// Reading of the band's selection values.
#include "band/engine/engine_settings.h"

#include "common/highlight_color.h"
#include "common/settings_names.h"
#include "platform/registry.h"

namespace ph {
namespace {

// A little-endian number of exactly `width` bytes stored as REG_BINARY, or nothing.
bool ReadBinary(RegistryKey& key, const char* name, std::size_t width, std::uint32_t* out) {
  RegistryValue value;
  if (key.Query(name, width, &value) != QueryStatus::kOk) return false;
  if (value.type != RegistryType::kBinary || value.data.size() != width) return false;
  std::uint32_t n = 0;
  for (std::size_t i = width; i-- > 0;) n = n << 8 | value.data[i];
  *out = n;
  return true;
}

}  // namespace

void ReadEngineSettings(Registry& registry, EngineSettings* s) {
  auto key = registry.Open(RegistryRoot::kCurrentUser, reg::kProductKey, RegistryAccess::kRead);
  if (!key) return;

  std::uint32_t n;
  if (ReadBinary(*key, reg::kHighlightColor, 4, &n)) s->highlight_color = ColorToMarkup(n);
  if (ReadBinary(*key, reg::kNormalHotkeyMod, 2, &n)) s->normal_mod = n;
  if (ReadBinary(*key, reg::kMultiHotkeyMod, 2, &n)) s->multi_mod = n;
  if (ReadBinary(*key, reg::kDeselectHotkeyMod, 2, &n)) s->deselect_mod = n;
  if (ReadBinary(*key, reg::kExcludeTableHotkeyMod, 2, &n)) s->exclude_table_mod = n;
  if (ReadBinary(*key, reg::kSuppressHyperlink, 4, &n)) s->suppress_hyperlinks = static_cast<std::int32_t>(n);
  if (ReadBinary(*key, reg::kSmartRelocation, 4, &n)) s->smart_relocation = static_cast<std::int32_t>(n);
  if (ReadBinary(*key, reg::kAutoSelectionMode, 4, &n)) s->auto_selection_mode = static_cast<std::int32_t>(n);
}

}  // namespace ph
