// A registry held in memory: the native stand-in for the Windows registry, used by the tests.
#pragma once

#include <map>
#include <mutex>

#include "platform/registry.h"

namespace ph {

class MemoryRegistry : public Registry {
 public:
  MemoryRegistry();

  std::unique_ptr<RegistryKey> Create(RegistryRoot root, std::string_view path) override;
  std::unique_ptr<RegistryKey> Open(RegistryRoot root, std::string_view path,
                                    RegistryAccess access) override;
  bool DeleteTree(RegistryRoot root, std::string_view path) override;

  // For tests: whether a key exists, and a value read without going through a key.
  bool KeyExists(RegistryRoot root, std::string_view path) const;
  bool GetValue(RegistryRoot root, std::string_view path, std::string_view name, RegistryValue* out) const;
  // For tests: opens of the key that ask for more than granted are refused, as a key's security
  // makes Windows refuse them.
  void LimitRights(RegistryRoot root, std::string_view path, RegistryAccess granted);

  // The whole registry as bytes, and back: how a native program keeps its settings between runs.
  // Restore refuses damaged data as a whole and leaves the registry as it was.
  Bytes Serialize() const;
  bool Restore(const Bytes& data);

  struct State;

 private:
  std::shared_ptr<State> state_;
};

}  // namespace ph
