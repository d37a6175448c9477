// Finding stored regions again on a page: by their paths, and where a path fails or leads to an element
// that no longer looks like the stored one, by the element whose fingerprint matches best.
#pragma once

#include <map>

#include "band/engine/document.h"
#include "band/engine/stored_region.h"

namespace ph {

class CodePage;

struct Located {
  ElementPtr element;  // null: not found
  float score = 0.0f;  // how well it matches the fingerprint, 0 to 1 (1 for a path without one)
};

// Below this a region counts as not found: a wrong region is worse than none.
inline constexpr float kRelocationThreshold = 0.70f;
// A path's element is kept without a search when it and its ancestors carry the stored tags, ids and
// classes, and the rest of its structure (what it holds) matches at least this well.
inline constexpr float kPathConfirmation = 0.90f;
// Two different elements closer than this are a guess between them, and so not found.
inline constexpr float kRelocationMargin = 0.03f;

// Scores of a fingerprint against an element: its shape (marks, ancestors, children) alone, and all
// of it (with its place among its siblings and the size of its text).
float StructureScore(const RegionFingerprint& stored, const ElementShape& shape);
float FullScore(const RegionFingerprint& stored, const ElementShape& shape, std::int32_t sibling_index,
                std::uint32_t text_length);

// One page's relocation; it keeps what it learns of the page's elements for all regions it is asked for.
class Relocator {
 public:
  // With smart false every region is found by its path alone, as the stored paths always were.
  Relocator(const DocumentPtr& top, const CodePage& code_page, bool smart);

  Located Locate(const StoredRegion& region);
  // Drops what was learnt of the page's elements, after the page has changed (tables removed).
  void Forget();
  const DocumentList& documents() const { return documents_; }
  bool smart() const { return smart_; }

 private:
  struct Candidate {
    ElementPtr element;
    ElementShape shape;
  };
  const std::vector<Candidate>& CandidatesOf(std::size_t document, const std::string& tag);
  Located Search(const RegionFingerprint& print, std::int32_t frame, const ElementPtr& by_path);

  const CodePage& code_page_;
  bool smart_;
  DocumentList documents_;
  std::map<std::pair<std::size_t, std::string>, std::vector<Candidate>> candidates_;
};

}  // namespace ph
