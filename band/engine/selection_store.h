// Stored selections per layout, kept in "selections.dat", so a later page of the layout is selected alike.
#pragma once

#include "band/engine/element_path.h"
#include "common/data_file_names.h"

namespace ph {

class CodePage;
class FileSystem;

enum class RegionKind : std::uint8_t {
  kSelected = 0,
  kTableExclusion = 1,
  kDeselected = 2,
};

struct StoredRegion {
  RegionKind kind = RegionKind::kSelected;
  std::int32_t layout_id = 0;
  ElementPath path;
};

class SelectionStore {
 public:
  static constexpr std::size_t kMaxFileBytes = 64u << 20;

  // One record per element, in list order, after those already stored.
  void RecordRegions(std::int32_t layout_id, RegionKind kind, const std::vector<ElementPtr>& elements,
                     const DocumentPtr& top, const CodePage& code_page);
  void EraseRegions(std::int32_t layout_id);
  // One entry per record of that layout and kind, in store order: the element, or null.
  void LocateRegions(std::int32_t layout_id, RegionKind kind, std::vector<ElementPtr>* out,
                     const DocumentPtr& top, const CodePage& code_page) const;

  void LoadBytes(const Bytes& bytes);
  Bytes SaveBytes() const;
  void Load(FileSystem& files, const std::string& path);
  bool Save(FileSystem& files, const std::string& path) const;

  const std::vector<StoredRegion>& regions() const { return regions_; }
  void Append(StoredRegion region) { regions_.push_back(std::move(region)); }

 private:
  std::vector<StoredRegion> regions_;
};

}  // namespace ph
