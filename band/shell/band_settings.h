// The band's display settings (icon size, label style), their registry values and the band height.
#pragma once

#include <cstdint>

namespace ph {

class Registry;

inline constexpr std::int32_t kTextStyleLabels = 0;
inline constexpr std::int32_t kTextStyleNoLabels = 2;

struct BandSettings {
  std::int32_t icon_size = 1;   // 0: small images, anything else: large
  std::int32_t text_style = 0;  // 2: no labels, anything else: labels shown
  std::int32_t height = 38;     // pixels, as reported to the browser
};

// The band's height for the two settings.
std::int32_t BandHeight(std::int32_t icon_size, std::int32_t text_style);
void UpdateBandHeight(BandSettings* settings);

// Takes each value only when it is a 4-byte REG_BINARY; a missing key or value keeps the field.
// The height is recomputed in every case.
void ReadBandSettings(Registry& registry, BandSettings* settings);
// Writes both values into the existing product key; nothing is written when the key is missing.
void SaveBandSettings(Registry& registry, const BandSettings& settings);

}  // namespace ph
