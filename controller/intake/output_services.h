// What the intake needs of the outputs: the writers, the name they suggest, and the settings they read.
#pragma once

#include <functional>

#include "common/base.h"
#include "controller/outputs/output_context.h"

namespace ph {

struct IntakeItem;
struct SettingsRecord;

// The file name (no folder, no extension) that file outputs start from.
using SuggestNameFn = std::function<std::string(const OutputContext&)>;

struct OutputServices {
  Writers& writers;
  SuggestNameFn suggest_name;
  // The one settings record of the process; the save dialog changes "Append Files" in it.
  SettingsRecord& settings;
};

// The context every output of an item starts from: its five strings, no path, the given portion.
OutputContext ContextFromItem(const IntakeItem& item, std::int32_t portion);

}  // namespace ph
