// The registry port: keys under a root, values with their type, as the settings need them.
#pragma once

#include <memory>

#include "common/base.h"

namespace ph {

enum class RegistryRoot { kCurrentUser, kLocalMachine, kClassesRoot };

// The numbers are the Win32 REG_* codes, so a stored type survives a round trip unchanged.
enum class RegistryType : std::uint32_t {
  kNone = 0,
  kString = 1,        // REG_SZ
  kExpandString = 2,  // REG_EXPAND_SZ
  kBinary = 3,        // REG_BINARY
  kDword = 4,         // REG_DWORD
  kMultiString = 7,   // REG_MULTI_SZ
  kQword = 11,        // REG_QWORD
};

// kAll adds the rights to delete the key and change its security, which a key's owner may withhold.
enum class RegistryAccess { kRead, kWrite, kReadWrite, kAll };

enum class QueryStatus {
  kOk,
  kMissing,   // no such value (or the key is gone)
  kTooLarge,  // larger than the caller's bound; the type is known, the data was not read
  kFailed,
};

struct RegistryValue {
  RegistryType type = RegistryType::kNone;
  Bytes data;
};

// An open key; closing it is destroying it.
class RegistryKey {
 public:
  virtual ~RegistryKey() = default;

  // Reads a value of at most max_bytes. Larger data is refused before any of it is copied, so a
  // damaged or hostile value cannot make the reader allocate without bound.
  virtual QueryStatus Query(std::string_view name, std::size_t max_bytes, RegistryValue* out) = 0;
  virtual bool Set(std::string_view name, RegistryType type, const void* data, std::size_t size) = 0;
  // True when the value is gone afterwards, whether or not it was there.
  virtual bool Delete(std::string_view name) = 0;
};

class Registry {
 public:
  virtual ~Registry() = default;

  // Opens the key with all rights, creating it and its parents when missing.
  virtual std::unique_ptr<RegistryKey> Create(RegistryRoot root, std::string_view path) = 0;
  // Opens an existing key; null when it does not exist or the rights are refused.
  virtual std::unique_ptr<RegistryKey> Open(RegistryRoot root, std::string_view path,
                                            RegistryAccess access) = 0;
  // Removes a key with everything below it; true when it is gone afterwards.
  virtual bool DeleteTree(RegistryRoot root, std::string_view path) = 0;
};

// The registry of the machine the program runs on (the real one on Windows).
std::unique_ptr<Registry> MakeSystemRegistry();

// Typed helpers over RegistryKey, in the encodings the settings use.
bool SetStringValue(RegistryKey& key, std::string_view name, std::string_view text);  // REG_SZ with terminator
bool SetBinaryU32(RegistryKey& key, std::string_view name, std::uint32_t v);          // REG_BINARY, 4 bytes
bool SetBinaryU16(RegistryKey& key, std::string_view name, std::uint16_t v);          // REG_BINARY, 2 bytes
// A string value up to its first zero byte; false when missing, over max_bytes, or unreadable.
bool QueryStringValue(RegistryKey& key, std::string_view name, std::size_t max_bytes, std::string* text);

}  // namespace ph
