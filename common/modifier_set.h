// Modifier sets: which of Shift, Ctrl and Alt are held, as bits, and their display text.
#pragma once

#include "common/base.h"

namespace ph {

using ModifierSet = std::uint32_t;

constexpr ModifierSet kModShift = 1;
constexpr ModifierSet kModCtrl = 2;
constexpr ModifierSet kModAlt = 4;

constexpr ModifierSet MakeModifierSet(bool shift, bool ctrl, bool alt) {
  return (shift ? kModShift : 0) | (ctrl ? kModCtrl : 0) | (alt ? kModAlt : 0);
}

// "Ctrl + Alt + Shift" for 7, "None" when none of the three bits is set.
std::string ModifierSetText(ModifierSet set, const char* separator = " + ");

}  // namespace ph
