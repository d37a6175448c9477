// Reading and writing the band's display settings, and the height they give.
#include "band/shell/band_settings.h"

#include "common/le_io.h"
#include "common/settings_names.h"
#include "platform/registry.h"

namespace ph {
namespace {

void ReadU32(RegistryKey& key, const char* name, std::int32_t* field) {
  RegistryValue value;
  if (key.Query(name, 4, &value) != QueryStatus::kOk) return;
  if (value.type != RegistryType::kBinary || value.data.size() != 4) return;
  ByteReader reader(value.data);
  reader.I32(field);
}

}  // namespace

std::int32_t BandHeight(std::int32_t icon_size, std::int32_t text_style) {
  const bool large = icon_size != 0;
  if (text_style == 1) return large ? 52 : 44;
  return large ? 38 : 22;
}

void UpdateBandHeight(BandSettings* settings) {
  settings->height = BandHeight(settings->icon_size, settings->text_style);
}

void ReadBandSettings(Registry& registry, BandSettings* settings) {
  if (auto key = registry.Open(RegistryRoot::kCurrentUser, reg::kProductKey, RegistryAccess::kRead)) {
    ReadU32(*key, reg::kBandIconSize, &settings->icon_size);
    ReadU32(*key, reg::kBandTextStyle, &settings->text_style);
  }
  UpdateBandHeight(settings);
}

void SaveBandSettings(Registry& registry, const BandSettings& settings) {
  auto key = registry.Open(RegistryRoot::kCurrentUser, reg::kProductKey, RegistryAccess::kWrite);
  if (!key) return;
  SetBinaryU32(*key, reg::kBandIconSize, static_cast<std::uint32_t>(settings.icon_size));
  SetBinaryU32(*key, reg::kBandTextStyle, static_cast<std::uint32_t>(settings.text_style));
}

}  // namespace ph
