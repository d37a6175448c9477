// Whole-file reads and binary output streams, shared by the file-system implementations.
#pragma once

#include <ostream>
#include <memory>
#include <optional>

#include "common/base.h"

namespace ph {

std::unique_ptr<std::ostream> OpenBinaryOutput(const std::string& path, bool append);
std::optional<Bytes> ReadWholeFile(const std::string& path, std::size_t max_bytes);

}  // namespace ph
