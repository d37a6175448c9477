// Display text of modifier sets.
#include "common/modifier_set.h"

namespace ph {

std::string ModifierSetText(ModifierSet set, const char* separator) {
  static constexpr struct {
    ModifierSet bit;
    const char* name;
  } kNames[] = {{kModCtrl, "Ctrl"}, {kModAlt, "Alt"}, {kModShift, "Shift"}};

  std::string text;
  for (const auto& n : kNames) {
    if (!(set & n.bit)) continue;
    if (!text.empty()) text += separator;
    text += n.name;
  }
  return text.empty() ? "None" : text;
}

}  // namespace ph
