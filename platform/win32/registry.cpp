// The registry port over the Win32 registry (Reg*A).
#include "platform/registry.h"

#include "platform/win32/unique_handle.h"

namespace ph {
namespace {

HKEY RootKey(RegistryRoot root) {
  switch (root) {
    case RegistryRoot::kLocalMachine: return HKEY_LOCAL_MACHINE;
    case RegistryRoot::kClassesRoot: return HKEY_CLASSES_ROOT;
    case RegistryRoot::kCurrentUser: break;
  }
  return HKEY_CURRENT_USER;
}

REGSAM Rights(RegistryAccess access) {
  switch (access) {
    case RegistryAccess::kRead: return KEY_READ;
    case RegistryAccess::kWrite: return KEY_WRITE;
    case RegistryAccess::kReadWrite: return KEY_READ | KEY_WRITE;
    case RegistryAccess::kAll: break;
  }
  return KEY_ALL_ACCESS;
}

class Win32Key : public RegistryKey {
 public:
  explicit Win32Key(win::UniqueHkey key) : key_(std::move(key)) {}

  QueryStatus Query(std::string_view name, std::size_t max_bytes, RegistryValue* out) override {
    const std::string n(name);
    // The value may change between the size query and the read; a few tries settle that.
    for (int attempt = 0; attempt < 4; ++attempt) {
      DWORD type = REG_NONE;
      DWORD size = 0;
      LONG rc = ::RegQueryValueExA(key_.get(), n.c_str(), nullptr, &type, nullptr, &size);
      if (rc == ERROR_FILE_NOT_FOUND) return QueryStatus::kMissing;
      if (rc != ERROR_SUCCESS) return QueryStatus::kFailed;
      out->type = static_cast<RegistryType>(type);
      if (size > max_bytes) {
        out->data.clear();
        return QueryStatus::kTooLarge;
      }
      out->data.assign(size, 0);
      DWORD got = size;
      rc = ::RegQueryValueExA(key_.get(), n.c_str(), nullptr, &type,
                              out->data.empty() ? nullptr : out->data.data(), &got);
      if (rc == ERROR_MORE_DATA) continue;
      if (rc == ERROR_FILE_NOT_FOUND) return QueryStatus::kMissing;
      if (rc != ERROR_SUCCESS) return QueryStatus::kFailed;
      out->type = static_cast<RegistryType>(type);
      out->data.resize(got);
      return QueryStatus::kOk;
    }
    return QueryStatus::kFailed;
  }

  bool Set(std::string_view name, RegistryType type, const void* data, std::size_t size) override {
    const std::string n(name);
    return ::RegSetValueExA(key_.get(), n.c_str(), 0, static_cast<DWORD>(type),
                            static_cast<const BYTE*>(data), static_cast<DWORD>(size)) == ERROR_SUCCESS;
  }

  bool Delete(std::string_view name) override {
    const std::string n(name);
    const LONG rc = ::RegDeleteValueA(key_.get(), n.c_str());
    return rc == ERROR_SUCCESS || rc == ERROR_FILE_NOT_FOUND;
  }

 private:
  win::UniqueHkey key_;
};

class Win32Registry : public Registry {
 public:
  std::unique_ptr<RegistryKey> Create(RegistryRoot root, std::string_view path) override {
    const std::string p(path);
    win::UniqueHkey key;
    if (::RegCreateKeyExA(RootKey(root), p.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                          KEY_ALL_ACCESS, nullptr, key.put(), nullptr) != ERROR_SUCCESS)
      return nullptr;
    return std::make_unique<Win32Key>(std::move(key));
  }

  std::unique_ptr<RegistryKey> Open(RegistryRoot root, std::string_view path,
                                    RegistryAccess access) override {
    const std::string p(path);
    win::UniqueHkey key;
    if (::RegOpenKeyExA(RootKey(root), p.c_str(), 0, Rights(access), key.put()) != ERROR_SUCCESS)
      return nullptr;
    return std::make_unique<Win32Key>(std::move(key));
  }

  bool DeleteTree(RegistryRoot root, std::string_view path) override {
    const std::string p(path);
    const LONG rc = ::RegDeleteTreeA(RootKey(root), p.c_str());
    if (rc == ERROR_SUCCESS || rc == ERROR_FILE_NOT_FOUND) {
      ::RegDeleteKeyA(RootKey(root), p.c_str());  // RegDeleteTree keeps the key itself
      return true;
    }
    return false;
  }
};

}  // namespace

std::unique_ptr<Registry> MakeSystemRegistry() { return std::make_unique<Win32Registry>(); }

}  // namespace ph
