// The registries a settings test runs against: the in-memory one everywhere, and under Windows the
// real registry too (with HKEY_CURRENT_USER pointed at a scratch key for the test's life).
#pragma once

#include <functional>
#include <ostream>
#include <memory>
#include <string>
#include <vector>

#include "platform/registry.h"

namespace ph::test {

struct RegistryKind {
  std::string name;
  std::function<std::unique_ptr<Registry>()> make;
};

std::vector<RegistryKind> TestRegistries();

inline void PrintTo(const RegistryKind& kind, std::ostream* os) { *os << kind.name; }

// For INSTANTIATE_TEST_SUITE_P: names each instance after its registry.
struct RegistryKindName {
  template <typename Info>
  std::string operator()(const Info& info) const { return info.param.name; }
};

// A value read straight through the port, for checking what was stored.
RegistryValue StoredValue(Registry& reg, const char* key, const char* name);
bool ValueExists(Registry& reg, const char* key, const char* name);

}  // namespace ph::test
