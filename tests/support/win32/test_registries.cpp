// Under Windows the settings tests run against the in-memory registry and the real one.
#include "platform/memory_registry.h"
#include "tests/support/test_registries.h"
#include "tests/support/win32/scoped_user_hive.h"

namespace ph::test {
namespace {

// The real registry, with the current user's hive redirected for as long as this object lives.
class RedirectedSystemRegistry : public Registry {
 public:
  std::unique_ptr<RegistryKey> Create(RegistryRoot root, std::string_view path) override {
    return inner_->Create(root, path);
  }
  std::unique_ptr<RegistryKey> Open(RegistryRoot root, std::string_view path, RegistryAccess access) override {
    return inner_->Open(root, path, access);
  }
  bool DeleteTree(RegistryRoot root, std::string_view path) override { return inner_->DeleteTree(root, path); }

 private:
  ScopedUserHive hive_;
  std::unique_ptr<Registry> inner_ = MakeSystemRegistry();
};

}  // namespace

std::vector<RegistryKind> TestRegistries() {
  return {{"Memory", [] { return std::unique_ptr<Registry>(new MemoryRegistry); }},
          {"Win32", [] { return std::unique_ptr<Registry>(new RedirectedSystemRegistry); }}};
}

}  // namespace ph::test
