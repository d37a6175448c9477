// Stored selections per layout, kept in "selections.dat", so a later page of the layout is selected alike.
#pragma once

#include "band/engine/stored_region.h"
#include "common/data_file_names.h"

namespace ph {

class ByteWriter;
class CodePage;
class Relocator;

// One record of "selections.dat": layout id, kind and path. "regions.dat" names its regions with it.
void WriteRegionRecord(const StoredRegion& region, ByteWriter* out);

// Appends one record per element, in list order, each with its path and fingerprint.
void AppendRegionRecords(std::int32_t layout_id, RegionKind kind, const std::vector<ElementPtr>& elements,
                         const DocumentPtr& top, const CodePage& code_page, std::vector<StoredRegion>* out);

class SelectionStore {
 public:
  static constexpr std::size_t kMaxFileBytes = 64u << 20;

  // One record per element, in list order, after those already stored, each with its fingerprint.
  void RecordRegions(std::int32_t layout_id, RegionKind kind, const std::vector<ElementPtr>& elements,
                     const DocumentPtr& top, const CodePage& code_page);
  void EraseRegions(std::int32_t layout_id);
  // One entry per record of that layout and kind, in store order: the element, or null.
  void LocateRegions(std::int32_t layout_id, RegionKind kind, std::vector<ElementPtr>* out,
                     const DocumentPtr& top, const CodePage& code_page) const;
  // The same, the regions found by the relocator (by their paths alone, or by their fingerprints too,
  // one that is not found by itself then looked for beside the others).
  void LocateRegions(std::int32_t layout_id, RegionKind kind, std::vector<ElementPtr>* out,
                     Relocator& relocator) const;
  // Whether any region is stored for the layout.
  bool HasRegions(std::int32_t layout_id, RegionKind kind) const;

  void LoadBytes(const Bytes& bytes);
  Bytes SaveBytes() const;

  // "regions.dat": the fingerprints, each given to the record of the same layout, kind and path. A
  // file that is missing, damaged or of another version gives none, and Quick Save goes by paths.
  void LoadFingerprintBytes(const Bytes& bytes);
  Bytes SaveFingerprintBytes() const;

  const std::vector<StoredRegion>& regions() const { return regions_; }
  void Append(StoredRegion region) { regions_.push_back(std::move(region)); }

 private:
  std::vector<StoredRegion> regions_;
};

}  // namespace ph
