// Reading the engine's stores, and changing them under the data folder's lock.
#include "band/engine/engine_stores.h"

#include "common/data_file_names.h"

namespace ph {

EngineStores::EngineStores(FileSystem& files)
    : files_(files),
      layouts_file_(files, ModuleFolderFile(files, kLayoutsFileName), LayoutStore::kMaxFileBytes),
      selections_file_(files, ModuleFolderFile(files, kSelectionsFileName), SelectionStore::kMaxFileBytes),
      regions_file_(files, ModuleFolderFile(files, kRegionsFileName), SelectionStore::kMaxFileBytes) {}

void EngineStores::Load() {
  layouts_.LoadBytes(layouts_file_.Read());
  const Bytes selections = selections_file_.Read();
  ReadSelections(selections, regions_file_.Read());
}

void EngineStores::ReadSelections(const Bytes& selections, const Bytes& regions) {
  selections_.LoadBytes(selections);
  selections_.LoadFingerprintBytes(regions);
}

std::int32_t EngineStores::LearnLayout(const std::string& host, LayoutNode signature) {
  const auto lock = LockDataFolder(files_, layouts_file_.path());
  if (const auto bytes = layouts_file_.ReadIfChanged()) layouts_.LoadBytes(*bytes);
  const std::int32_t before = layouts_.highest_id();
  const std::int32_t id = layouts_.AddLayout(host, std::move(signature));
  if (layouts_.highest_id() != before) layouts_file_.Write(layouts_.SaveBytes());
  return id;
}

void EngineStores::ReplaceRegions(std::int32_t layout_id, std::vector<StoredRegion> regions) {
  const auto lock = LockDataFolder(files_, selections_file_.path());
  // The fingerprints belong to the records of "selections.dat": when either file changed, both are
  // read again together.
  auto selections = selections_file_.ReadIfChanged();
  auto prints = regions_file_.ReadIfChanged();
  if (selections || prints)
    ReadSelections(selections ? *selections : selections_file_.Read(), prints ? *prints : regions_file_.Read());
  selections_.EraseRegions(layout_id);
  for (StoredRegion& region : regions) selections_.Append(std::move(region));
  selections_file_.Write(selections_.SaveBytes());
  regions_file_.Write(selections_.SaveFingerprintBytes());
}

}  // namespace ph
