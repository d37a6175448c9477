// Reading stored values back for the registry tests.
#include "tests/support/test_registries.h"

namespace ph::test {

RegistryValue StoredValue(Registry& reg, const char* key, const char* name) {
  RegistryValue value;
  if (auto k = reg.Open(RegistryRoot::kCurrentUser, key, RegistryAccess::kRead))
    if (k->Query(name, 1 << 20, &value) != QueryStatus::kOk) value = RegistryValue{};
  return value;
}

bool ValueExists(Registry& reg, const char* key, const char* name) {
  auto k = reg.Open(RegistryRoot::kCurrentUser, key, RegistryAccess::kRead);
  RegistryValue value;
  return k && k->Query(name, 1 << 20, &value) == QueryStatus::kOk;
}

}  // namespace ph::test
