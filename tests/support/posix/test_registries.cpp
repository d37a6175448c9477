// Natively the settings tests run against the in-memory registry.
#include "platform/memory_registry.h"
#include "tests/support/test_registries.h"

namespace ph::test {

std::vector<RegistryKind> TestRegistries() {
  return {{"Memory", [] { return std::unique_ptr<Registry>(new MemoryRegistry); }}};
}

}  // namespace ph::test
