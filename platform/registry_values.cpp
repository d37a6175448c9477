// Typed helpers over the registry port.
#include <cstring>

#include "platform/registry.h"

namespace ph {

bool SetStringValue(RegistryKey& key, std::string_view name, std::string_view text) {
  std::string data(text);
  return key.Set(name, RegistryType::kString, data.c_str(), data.size() + 1);
}

bool SetBinaryU32(RegistryKey& key, std::string_view name, std::uint32_t v) {
  const std::uint8_t b[4] = {static_cast<std::uint8_t>(v), static_cast<std::uint8_t>(v >> 8),
                             static_cast<std::uint8_t>(v >> 16), static_cast<std::uint8_t>(v >> 24)};
  return key.Set(name, RegistryType::kBinary, b, sizeof b);
}

bool SetBinaryU16(RegistryKey& key, std::string_view name, std::uint16_t v) {
  const std::uint8_t b[2] = {static_cast<std::uint8_t>(v), static_cast<std::uint8_t>(v >> 8)};
  return key.Set(name, RegistryType::kBinary, b, sizeof b);
}

bool QueryStringValue(RegistryKey& key, std::string_view name, std::size_t max_bytes, std::string* text) {
  RegistryValue value;
  if (key.Query(name, max_bytes, &value) != QueryStatus::kOk) return false;
  const char* p = reinterpret_cast<const char*>(value.data.data());
  text->assign(p, strnlen(p, value.data.size()));
  return true;
}

}  // namespace ph
