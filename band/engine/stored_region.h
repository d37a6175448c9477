// One stored region: the layout it belongs to, what it does there, its element path and what it looked like.
#pragma once

#include <optional>

#include "band/engine/element_path.h"
#include "band/engine/region_fingerprint.h"

namespace ph {

enum class RegionKind : std::uint8_t {
  kSelected = 0,
  kTableExclusion = 1,
  kDeselected = 2,
};

struct StoredRegion {
  StoredRegion() = default;
  StoredRegion(RegionKind k, std::int32_t id, ElementPath p, std::optional<RegionFingerprint> f = std::nullopt)
      : kind(k), layout_id(id), path(std::move(p)), fingerprint(std::move(f)) {}

  RegionKind kind = RegionKind::kSelected;
  std::int32_t layout_id = 0;
  ElementPath path;
  // What the element looked like when it was stored; nothing when "regions.dat" did not say.
  std::optional<RegionFingerprint> fingerprint;
};

}  // namespace ph
