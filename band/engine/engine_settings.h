// The selection values the band reads from the registry each time selection mode turns on or off.
#pragma once

#include "common/base.h"
#include "common/modifier_set.h"

namespace ph {

class Registry;

struct EngineSettings {
  std::string highlight_color = "#ffcccc";
  ModifierSet normal_mod = kModCtrl;
  ModifierSet multi_mod = kModShift;
  ModifierSet deselect_mod = kModAlt;
  ModifierSet exclude_table_mod = kModCtrl | kModAlt;
  std::int32_t suppress_hyperlinks = 1;
  // "Smart Relocation": Quick Save also finds regions by their fingerprints. Off unless turned on.
  std::int32_t smart_relocation = 0;
  // "Auto Selection Mode": 1 = Auto Selection looks for the article; anything else, the cell or block
  // with the most text of its own.
  std::int32_t auto_selection_mode = 0;
};

// Opens the product key for reading only (never creating it) and takes each value only when it is
// a REG_BINARY of the expected width; everything else keeps what the settings held.
void ReadEngineSettings(Registry& registry, EngineSettings* settings);

}  // namespace ph
