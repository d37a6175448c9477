// A registry held in memory. Key paths and value names compare without regard to case, as they do
// on Windows; a key opened for reading refuses writes.
#include "platform/memory_registry.h"

#include "common/ascii.h"
#include "common/le_io.h"

namespace ph {
namespace {

// "root\path" with empty segments dropped, so "A\\B\" and "a\b" name one key.
std::string KeyId(RegistryRoot root, std::string_view path) {
  std::string id = std::to_string(static_cast<int>(root));
  std::size_t at = 0;
  while (at <= path.size()) {
    std::size_t end = path.find('\\', at);
    if (end == std::string_view::npos) end = path.size();
    if (end > at) id += "\\" + LowerAscii(path.substr(at, end - at));
    at = end + 1;
  }
  return id;
}

}  // namespace

struct MemoryRegistry::State {
  std::mutex mutex;
  std::map<std::string, std::map<std::string, RegistryValue>> keys;  // key id -> folded name -> value
  std::map<std::string, RegistryAccess> granted;                      // keys with limited rights
};

namespace {

class MemoryKey : public RegistryKey {
 public:
  MemoryKey(std::shared_ptr<MemoryRegistry::State> state, std::string id, bool writable)
      : state_(std::move(state)), id_(std::move(id)), writable_(writable) {}

  QueryStatus Query(std::string_view name, std::size_t max_bytes, RegistryValue* out) override {
    std::lock_guard<std::mutex> lock(state_->mutex);
    auto key = state_->keys.find(id_);
    if (key == state_->keys.end()) return QueryStatus::kMissing;
    auto value = key->second.find(LowerAscii(name));
    if (value == key->second.end()) return QueryStatus::kMissing;
    out->type = value->second.type;
    if (value->second.data.size() > max_bytes) {
      out->data.clear();
      return QueryStatus::kTooLarge;
    }
    out->data = value->second.data;
    return QueryStatus::kOk;
  }

  bool Set(std::string_view name, RegistryType type, const void* data, std::size_t size) override {
    if (!writable_) return false;
    std::lock_guard<std::mutex> lock(state_->mutex);
    auto key = state_->keys.find(id_);
    if (key == state_->keys.end()) return false;
    const auto* p = static_cast<const std::uint8_t*>(data);
    key->second[LowerAscii(name)] = RegistryValue{type, Bytes(p, p + size)};
    return true;
  }

  bool Delete(std::string_view name) override {
    if (!writable_) return false;
    std::lock_guard<std::mutex> lock(state_->mutex);
    auto key = state_->keys.find(id_);
    if (key == state_->keys.end()) return false;
    key->second.erase(LowerAscii(name));
    return true;
  }

 private:
  std::shared_ptr<MemoryRegistry::State> state_;
  std::string id_;
  bool writable_;
};

}  // namespace

MemoryRegistry::MemoryRegistry() : state_(std::make_shared<State>()) {}

std::unique_ptr<RegistryKey> MemoryRegistry::Create(RegistryRoot root, std::string_view path) {
  const std::string id = KeyId(root, path);
  std::lock_guard<std::mutex> lock(state_->mutex);
  // Parents come into being with the key, as RegCreateKeyEx makes them.
  for (std::size_t at = id.find('\\'); at != std::string::npos; at = id.find('\\', at + 1))
    state_->keys.try_emplace(id.substr(0, at));
  state_->keys.try_emplace(id);
  return std::make_unique<MemoryKey>(state_, id, true);
}

namespace {

bool Covers(RegistryAccess granted, RegistryAccess asked) {
  if (granted == asked || granted == RegistryAccess::kAll) return true;
  return granted == RegistryAccess::kReadWrite && asked != RegistryAccess::kAll;
}

}  // namespace

void MemoryRegistry::LimitRights(RegistryRoot root, std::string_view path, RegistryAccess granted) {
  std::lock_guard<std::mutex> lock(state_->mutex);
  state_->granted[KeyId(root, path)] = granted;
}

std::unique_ptr<RegistryKey> MemoryRegistry::Open(RegistryRoot root, std::string_view path,
                                                  RegistryAccess access) {
  const std::string id = KeyId(root, path);
  std::lock_guard<std::mutex> lock(state_->mutex);
  if (state_->keys.count(id) == 0) return nullptr;
  const auto limit = state_->granted.find(id);
  if (limit != state_->granted.end() && !Covers(limit->second, access)) return nullptr;
  return std::make_unique<MemoryKey>(state_, id, access != RegistryAccess::kRead);
}

bool MemoryRegistry::DeleteTree(RegistryRoot root, std::string_view path) {
  const std::string id = KeyId(root, path);
  std::lock_guard<std::mutex> lock(state_->mutex);
  auto it = state_->keys.lower_bound(id);
  while (it != state_->keys.end() &&
         (it->first == id || it->first.compare(0, id.size() + 1, id + "\\") == 0))
    it = state_->keys.erase(it);
  return true;
}

bool MemoryRegistry::KeyExists(RegistryRoot root, std::string_view path) const {
  std::lock_guard<std::mutex> lock(state_->mutex);
  return state_->keys.count(KeyId(root, path)) != 0;
}

bool MemoryRegistry::GetValue(RegistryRoot root, std::string_view path, std::string_view name,
                              RegistryValue* out) const {
  std::lock_guard<std::mutex> lock(state_->mutex);
  auto key = state_->keys.find(KeyId(root, path));
  if (key == state_->keys.end()) return false;
  auto value = key->second.find(LowerAscii(name));
  if (value == key->second.end()) return false;
  *out = value->second;
  return true;
}

namespace {
constexpr char kMagic[] = "PHREG1";
}  // namespace

Bytes MemoryRegistry::Serialize() const {
  std::lock_guard<std::mutex> lock(state_->mutex);
  ByteWriter w;
  w.String(kMagic);
  w.U32(static_cast<std::uint32_t>(state_->keys.size()));
  for (const auto& [id, values] : state_->keys) {
    w.String(id);
    w.U32(static_cast<std::uint32_t>(values.size()));
    for (const auto& [name, value] : values) {
      w.String(name);
      w.U32(static_cast<std::uint32_t>(value.type));
      w.String(std::string_view(reinterpret_cast<const char*>(value.data.data()), value.data.size()));
    }
  }
  return w.Take();
}

bool MemoryRegistry::Restore(const Bytes& data) {
  ByteReader r(data);
  std::string magic;
  std::uint32_t key_count;
  if (!r.String(&magic) || magic != kMagic || !r.U32(&key_count)) return false;
  std::map<std::string, std::map<std::string, RegistryValue>> keys;
  for (std::uint32_t k = 0; k < key_count; ++k) {
    std::string id;
    std::uint32_t value_count;
    if (!r.String(&id) || !r.U32(&value_count)) return false;
    auto& values = keys[id];
    for (std::uint32_t v = 0; v < value_count; ++v) {
      std::string name, bytes;
      std::uint32_t type;
      if (!r.String(&name) || !r.U32(&type) || !r.String(&bytes)) return false;
      values[name] = RegistryValue{static_cast<RegistryType>(type), Bytes(bytes.begin(), bytes.end())};
    }
  }
  if (!r.AtEnd()) return false;
  std::lock_guard<std::mutex> lock(state_->mutex);
  state_->keys = std::move(keys);
  return true;
}

}  // namespace ph
