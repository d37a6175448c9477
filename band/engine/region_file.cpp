// "regions.dat": the fingerprints of the stored regions, written beside "selections.dat".
#include <algorithm>

#include "band/engine/selection_store.h"
#include "common/le_io.h"

namespace ph {
namespace {

// "PHRG", a version, the records, a zero layout id, and a checksum of everything before it: a file
// cut short, written by an unknown version or damaged on the way is not used at all. Version 2 adds
// the length of the link text at the end of each record; files of version 1 are read as they are,
// their regions without it.
constexpr char kMagic[4] = {'P', 'H', 'R', 'G'};
constexpr std::uint32_t kFirstVersion = 1;
constexpr std::uint32_t kVersion = 2;
// Written for a region whose link text is not known (it came from a file of version 1).
constexpr std::uint32_t kUnknownLength = 0xFFFFFFFFu;

std::uint32_t Checksum(const std::uint8_t* data, std::size_t size) {
  std::uint32_t h = 2166136261u;  // FNV-1a
  for (std::size_t i = 0; i < size; ++i) h = (h ^ data[i]) * 16777619u;
  return h;
}

void WriteMark(const ElementMark& mark, ByteWriter* out) {
  out->String(mark.tag);
  out->String(mark.id);
  out->U32(static_cast<std::uint32_t>(mark.classes.size()));
  for (const auto& c : mark.classes) out->String(c);
}

// A count of items of at least item_bytes each: a damaged count cannot claim more than the data holds,
// so it cannot make us allocate much.
bool ReadCount(ByteReader* in, std::size_t item_bytes, std::uint32_t* count) {
  return in->U32(count) && *count <= in->left() / item_bytes;
}

bool ReadMark(ByteReader* in, ElementMark* mark) {
  std::uint32_t count;
  if (!in->String(&mark->tag) || !in->String(&mark->id) || !ReadCount(in, 4, &count)) return false;
  mark->classes.resize(count);
  for (auto& c : mark->classes)
    if (!in->String(&c)) return false;
  return true;
}

struct FingerprintRecord {
  std::int32_t layout_id;
  std::uint8_t kind;
  ElementPath path;
  RegionFingerprint print;
};

bool ReadRecord(ByteReader* in, std::uint32_t version, std::int32_t layout_id, FingerprintRecord* r) {
  r->layout_id = layout_id;
  std::uint32_t steps, ancestors;
  if (!in->Raw(&r->kind, 1) || !ReadCount(in, 8, &steps)) return false;
  r->path.resize(steps);
  for (auto& step : r->path)
    if (!in->I32(&step.index) || !in->String(&step.name)) return false;
  ElementShape& shape = r->print.shape;
  std::uint32_t child_tags;
  if (!ReadMark(in, &shape.self) || !ReadCount(in, 12, &ancestors)) return false;
  shape.ancestors.resize(ancestors);
  for (auto& mark : shape.ancestors)
    if (!ReadMark(in, &mark)) return false;
  if (!ReadCount(in, 4, &child_tags)) return false;
  shape.child_tags.resize(child_tags);
  for (auto& tag : shape.child_tags)
    if (!in->String(&tag)) return false;
  if (!in->I32(&r->print.sibling_index) || !in->U32(&r->print.text_length)) return false;
  if (version < 2) return true;
  std::uint32_t links;
  if (!in->U32(&links)) return false;
  if (links != kUnknownLength) r->print.link_text_length = std::min(links, r->print.text_length);
  return true;
}

// The records of a whole, intact file; nothing for anything else.
std::optional<std::vector<FingerprintRecord>> ReadFile(const Bytes& bytes) {
  if (bytes.size() < sizeof kMagic + 12) return std::nullopt;
  const std::size_t body = bytes.size() - 4;
  ByteReader tail(bytes.data() + body, 4);
  std::uint32_t sum, version;
  if (!tail.U32(&sum) || sum != Checksum(bytes.data(), body)) return std::nullopt;
  if (!std::equal(kMagic, kMagic + 4, bytes.begin())) return std::nullopt;
  ByteReader in(bytes.data() + 4, body - 4);
  if (!in.U32(&version) || version < kFirstVersion || version > kVersion) return std::nullopt;
  std::vector<FingerprintRecord> records;
  std::int32_t id;
  while (in.I32(&id) && id != 0) {
    records.emplace_back();
    if (!ReadRecord(&in, version, id, &records.back())) return std::nullopt;
  }
  if (id != 0 || !in.AtEnd()) return std::nullopt;
  return records;
}

}  // namespace

void SelectionStore::LoadFingerprintBytes(const Bytes& bytes) {
  for (auto& r : regions_) r.fingerprint.reset();
  auto records = ReadFile(bytes);
  if (!records) return;
  // Both files are written together, record for record; a record whose layout, kind and path do not
  // agree (the other file was written without this one, or cleared) stays without a fingerprint.
  std::size_t next = 0;
  for (auto& region : regions_) {
    for (std::size_t k = next; k < records->size(); ++k) {
      FingerprintRecord& f = (*records)[k];
      if (f.layout_id == region.layout_id && f.kind == static_cast<std::uint8_t>(region.kind) && f.path == region.path) {
        region.fingerprint = std::move(f.print);
        next = k + 1;
        break;
      }
    }
  }
}

Bytes SelectionStore::SaveFingerprintBytes() const {
  ByteWriter out;
  out.Raw(kMagic, sizeof kMagic);
  out.U32(kVersion);
  for (const auto& r : regions_) {
    if (!r.fingerprint || r.layout_id == 0) continue;
    WriteRegionRecord(r, &out);
    const RegionFingerprint& f = *r.fingerprint;
    WriteMark(f.shape.self, &out);
    out.U32(static_cast<std::uint32_t>(f.shape.ancestors.size()));
    for (const auto& mark : f.shape.ancestors) WriteMark(mark, &out);
    out.U32(static_cast<std::uint32_t>(f.shape.child_tags.size()));
    for (const auto& tag : f.shape.child_tags) out.String(tag);
    out.I32(f.sibling_index);
    out.U32(f.text_length);
    out.U32(f.link_text_length.value_or(kUnknownLength));
  }
  out.I32(0);
  Bytes bytes = out.Take();
  ByteWriter sum;
  sum.U32(Checksum(bytes.data(), bytes.size()));
  bytes.insert(bytes.end(), sum.bytes().begin(), sum.bytes().end());
  return bytes;
}

}  // namespace ph
