// Reading and writing "actions.dat".
#include "controller/intake/actions_file.h"

#include "common/le_io.h"
#include "platform/file_system.h"

namespace ph {

void ParseActions(const void* data, std::size_t size, ActionTable* table) {
  ByteReader in(data, size);
  std::int32_t id = 0;
  while (in.I32(&id) && id != 0) {
    LayoutAction& action = (*table)[id];
    action = LayoutAction{};
    std::uint32_t length = 0;
    if (!in.I32(&action.kind) || !in.I32(&action.portion) || !in.U32(&length)) return;
    // The length is checked against what is left before anything is allocated for it.
    if (length > in.left()) return;
    std::string folder(length, '\0');
    in.Raw(folder.data(), length);
    folder.resize(folder.find('\0') == std::string::npos ? length : folder.find('\0'));
    action.folder = std::move(folder);
  }
}

Bytes SerializeActions(const ActionTable& table) {
  ByteWriter out;
  for (const auto& [id, action] : table) {
    // Id 0 is the terminator; an entry under it would hide every record after it.
    if (id == 0) continue;
    out.I32(id);
    out.I32(action.kind);
    out.I32(action.portion);
    out.String(action.folder);
  }
  out.U32(0);
  return out.Take();
}

void LoadActions(FileSystem& fs, const std::string& path, ActionTable* table) {
  if (const std::optional<Bytes> bytes = fs.ReadAll(path, kMaxActionsFileSize))
    ParseActions(bytes->data(), bytes->size(), table);
}

void SaveActions(FileSystem& fs, const std::string& path, const ActionTable& table) {
  // A failed write is not reported: the table in memory stays in force until the next save.
  WriteWholeFile(fs, path, SerializeActions(table));
}

}  // namespace ph
