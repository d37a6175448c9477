// The About box's memory figure: kilobytes with "," between groups of three digits, then " KB".
#pragma once

#include "common/base.h"

namespace ph {

std::string FormatMemoryKb(std::uint64_t bytes);

}  // namespace ph
