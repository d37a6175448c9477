// Finding, adding, loading and saving page layouts.
#include "band/engine/layout_store.h"

#include <unordered_set>

#include "band/engine/page_host.h"
#include "common/le_io.h"

namespace ph {

std::int32_t LayoutStore::FindForm(const std::string& host, const LayoutForms& page, LayoutForms::Id form) const {
  float best = 0.0f;
  std::int32_t best_id = 0;
  std::unordered_set<LayoutForms::Id> compared;
  for (const auto& [id, entry] : entries_) {
    if (entry.host != host) continue;
    // A signature the same as one compared before scores the same, and ties go to the lower id.
    const LayoutForms::Id stored = form_of_.at(id);
    if (!compared.insert(stored).second) continue;
    // Only a score above the best so far, and at least the threshold, can change the answer, and a
    // score never rises while it is counted: the comparison may give up below that.
    const float floor = best > kMatchThreshold ? best : kMatchThreshold;
    const float s = SimilarityAtLeast(page, stored, form, floor);
    if (s > best && s >= floor) {
      best = s;
      best_id = id;
    }
  }
  return best >= kMatchThreshold ? best_id : 0;
}

std::int32_t LayoutStore::FindLayout(const std::string& host, const LayoutNode& signature) const {
  LayoutForms page(&forms_);
  const LayoutForms::Id form = page.Add(signature);
  return FindForm(host, page, form);
}

std::int32_t LayoutStore::FindLayout(const DocumentPtr& document, const LayoutContext& context) const {
  if (!document) return 0;
  LayoutDraft draft;
  BuildLayout(document, &draft);
  LayoutForms page(&forms_);
  const LayoutForms::Id form = page.Add(draft);
  return FindForm(HostOfDocument(*document, context.urls, context.code_page), page, form);
}

std::int32_t LayoutStore::AddLayout(const std::string& host, LayoutNode signature) {
  if (const std::int32_t found = FindLayout(host, signature)) return found;
  const std::int32_t id = ++highest_id_;
  form_of_[id] = forms_.Add(signature);
  entries_[id] = LayoutEntry{host, std::move(signature)};
  return id;
}

std::int32_t LayoutStore::AddLayout(const DocumentPtr& document, const LayoutContext& context) {
  if (!document) return 0;
  LayoutNode signature;
  BuildLayout(document, &signature);
  return AddLayout(HostOfDocument(*document, context.urls, context.code_page), std::move(signature));
}

std::vector<std::int32_t> LayoutStore::LayoutsOfHost(const std::string& host) const {
  std::vector<std::int32_t> ids;
  for (const auto& [id, entry] : entries_)
    if (entry.host == host) ids.push_back(id);
  return ids;
}

void LayoutStore::LoadBytes(const Bytes& bytes) {
  entries_.clear();
  forms_ = LayoutForms();
  form_of_.clear();
  highest_id_ = 0;
  ByteReader in(bytes);
  std::int32_t id;
  while (in.I32(&id) && id != 0) {
    if (id > highest_id_) highest_id_ = id;
    LayoutEntry& entry = entries_[id];
    entry.host.clear();
    entry.signature.Clear();
    // The host: a 32-bit length and that many bytes, of which a cut file keeps what it has; the
    // text ends at its first zero byte.
    std::uint32_t length;
    bool complete = in.U32(&length);
    if (complete) {
      const std::size_t take = length <= in.left() ? length : in.left();
      entry.host.resize(take);
      in.Raw(entry.host.data(), take);
      entry.host.resize(entry.host.find('\0') == std::string::npos ? take : entry.host.find('\0'));
      complete = take == length;
    }
    complete = complete && DecodeLayout(&in, &entry.signature);
    form_of_[id] = forms_.Add(entry.signature);
    if (!complete) break;
  }
}

Bytes LayoutStore::SaveBytes() const {
  ByteWriter out;
  for (const auto& [id, entry] : entries_) {
    out.I32(id);
    out.String(entry.host);
    EncodeLayout(entry.signature, &out);
    const std::uint8_t end = 0x00;
    out.Raw(&end, 1);
  }
  out.U32(0);
  return out.Take();
}

}  // namespace ph
