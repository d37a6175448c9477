// The layout store: page layouts (host and signature) numbered by id, kept in "layouts.dat".
#pragma once

#include <map>

#include "band/engine/document.h"
#include "band/engine/layout_node.h"
#include "common/data_file_names.h"

namespace ph {

class CodePage;
class UrlPort;

// Fills node (made a document node) with the signature of a document: the tables of its body, with
// their rows and cells and the tables inside those, then one node per frame with the frame's own.
void BuildLayout(const DocumentPtr& document, LayoutNode* node);
void BuildLayout(const DocumentPtr& document, LayoutDraft* draft);

struct LayoutEntry {
  std::string host;
  LayoutNode signature;
};

// What the store needs to describe a page: its host and its text.
struct LayoutContext {
  UrlPort& urls;
  const CodePage& code_page;
};

class LayoutStore {
 public:
  static constexpr float kMatchThreshold = 99.0f;
  // Larger files are not read at all (they cannot be ours).
  static constexpr std::size_t kMaxFileBytes = 256u << 20;

  // The id of the stored layout most like the document (ties: the lowest id), when it is on the
  // same host and scores at least the threshold; 0 otherwise.
  std::int32_t FindLayout(const DocumentPtr& document, const LayoutContext& context) const;
  // FindLayout, or a new entry for the document under the next id.
  std::int32_t AddLayout(const DocumentPtr& document, const LayoutContext& context);

  // The same for a host and signature already built.
  std::int32_t FindLayout(const std::string& host, const LayoutNode& signature) const;
  std::int32_t AddLayout(const std::string& host, LayoutNode signature);

  // Replaces the store by the records of a file image; as much as could be read is kept.
  void LoadBytes(const Bytes& bytes);
  Bytes SaveBytes() const;

  // The ids of the layouts stored for a host, in ascending order.
  std::vector<std::int32_t> LayoutsOfHost(const std::string& host) const;

  const std::map<std::int32_t, LayoutEntry>& entries() const { return entries_; }
  std::int32_t highest_id() const { return highest_id_; }

 private:
  // The structure of a signature, numbered on top of the store's forms.
  std::int32_t FindForm(const std::string& host, const LayoutForms& page, LayoutForms::Id form) const;

  std::map<std::int32_t, LayoutEntry> entries_;
  // The structures of all stored signatures, and the number of each entry's.
  LayoutForms forms_;
  std::map<std::int32_t, LayoutForms::Id> form_of_;
  std::int32_t highest_id_ = 0;
};

}  // namespace ph
