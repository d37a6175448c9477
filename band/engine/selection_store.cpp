// Recording, locating, loading and saving stored selections.
#include "band/engine/selection_store.h"

#include <algorithm>

#include "band/engine/relocation.h"
#include "common/le_io.h"

namespace ph {

void AppendRegionRecords(std::int32_t layout_id, RegionKind kind, const std::vector<ElementPtr>& elements,
                         const DocumentPtr& top, const CodePage& code_page, std::vector<StoredRegion>* out) {
  if (elements.empty()) return;
  const DocumentList documents = CollectDocuments(top);
  for (const auto& element : elements)
    out->emplace_back(kind, layout_id, BuildPath(documents, element, code_page), TakeFingerprint(*element, code_page));
}

void SelectionStore::RecordRegions(std::int32_t layout_id, RegionKind kind, const std::vector<ElementPtr>& elements,
                                   const DocumentPtr& top, const CodePage& code_page) {
  AppendRegionRecords(layout_id, kind, elements, top, code_page, &regions_);
}

void SelectionStore::EraseRegions(std::int32_t layout_id) {
  regions_.erase(std::remove_if(regions_.begin(), regions_.end(),
                                [layout_id](const StoredRegion& r) { return r.layout_id == layout_id; }),
                 regions_.end());
}

void SelectionStore::LocateRegions(std::int32_t layout_id, RegionKind kind, std::vector<ElementPtr>* out,
                                   const DocumentPtr& top, const CodePage& code_page) const {
  const DocumentList documents = CollectDocuments(top);
  for (const auto& r : regions_)
    if (r.layout_id == layout_id && r.kind == kind) out->push_back(ResolvePath(documents, r.path, code_page));
}

void SelectionStore::LocateRegions(std::int32_t layout_id, RegionKind kind, std::vector<ElementPtr>* out,
                                   Relocator& relocator) const {
  std::vector<const StoredRegion*> wanted;
  for (const auto& r : regions_)
    if (r.layout_id == layout_id && r.kind == kind) wanted.push_back(&r);
  for (auto& located : relocator.LocateAll(wanted)) out->push_back(std::move(located.element));
}

bool SelectionStore::HasRegions(std::int32_t layout_id, RegionKind kind) const {
  return std::any_of(regions_.begin(), regions_.end(),
                     [&](const StoredRegion& r) { return r.layout_id == layout_id && r.kind == kind; });
}

void SelectionStore::LoadBytes(const Bytes& bytes) {
  regions_.clear();
  ByteReader in(bytes);
  std::int32_t id;
  std::uint8_t kind;
  while (in.I32(&id) && in.Raw(&kind, 1)) {
    regions_.emplace_back(static_cast<RegionKind>(kind), id, ElementPath{});
    ElementPath& path = regions_.back().path;
    std::uint32_t count;
    if (!in.U32(&count)) continue;
    // Each step takes at least eight bytes, which bounds what a damaged count can make us reserve.
    path.reserve(std::min<std::size_t>(count, in.left() / 8));
    for (std::uint32_t i = 0; i < count; ++i) {
      PathStep step;
      // Only the end of the data stops a step, so nothing can follow a step that was cut.
      if (!in.I32(&step.index) || !in.String(&step.name)) return;
      path.push_back(std::move(step));
    }
  }
}

void WriteRegionRecord(const StoredRegion& r, ByteWriter* out) {
  out->I32(r.layout_id);
  const auto kind = static_cast<std::uint8_t>(r.kind);
  out->Raw(&kind, 1);
  out->U32(static_cast<std::uint32_t>(r.path.size()));
  for (const auto& step : r.path) {
    out->I32(step.index);
    out->String(step.name);
  }
}

Bytes SelectionStore::SaveBytes() const {
  ByteWriter out;
  for (const auto& r : regions_) WriteRegionRecord(r, &out);
  out.U32(0);
  return out.Take();
}

}  // namespace ph
