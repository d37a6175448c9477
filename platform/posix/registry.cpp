// Natively there is no registry of the system: settings live in memory for the run.
#include "platform/memory_registry.h"

namespace ph {

std::unique_ptr<Registry> MakeSystemRegistry() { return std::make_unique<MemoryRegistry>(); }

}  // namespace ph
