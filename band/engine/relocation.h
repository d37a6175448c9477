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
// The score of an element that carries the stored id, tag and classes and is the only one on the page
// that does, however much the blocks and tables around it changed (when its content agrees).
inline constexpr float kAnchoredScore = 0.90f;
// A region whose content lies this far or further from the stored one (ContentDistance) is not found.
inline constexpr float kContentDistanceLimit = 1.0f;

// Scores of a fingerprint against an element: its shape (marks, ancestors, children) alone, and all
// of it (with its place among its siblings and the size of its text).
float StructureScore(const RegionFingerprint& stored, const ElementShape& shape);
float FullScore(const RegionFingerprint& stored, const ElementShape& shape, std::int32_t sibling_index,
                std::uint32_t text_length);

// What an element holds, against what the stored region held: the tags of its children, the size of
// its text and the share of it that is link text.
struct ContentShape {
  const std::vector<std::string>& child_tags;
  std::uint32_t text_length;
  std::uint32_t link_text_length;
};
// How far that lies from the stored region's content: the sum of a part for the text's length (a
// factor of ten is 0.5, of a hundred 1; only when with_length), one for the share of link text (a
// difference of 0.4 or more is 1) and one for the children's tags (none shared is 1, half of them
// 0.25). A block of the stored tag and classes that holds a list of links where a story was, or the
// story together with its comments, lies 1 or more away.
float ContentDistance(const RegionFingerprint& stored, const ContentShape& now, bool with_length);

// One page's relocation; it keeps what it learns of the page's elements for all regions it is asked for.
class Relocator {
 public:
  // With smart false every region is found by its path alone, as the stored paths always were.
  Relocator(const DocumentPtr& top, const CodePage& code_page, bool smart);

  Located Locate(const StoredRegion& region);
  // Each region on its own, then each one not found looked for beside those that were (a region
  // that moved under a new parent is still near the others); one entry per region, in order.
  std::vector<Located> LocateAll(const std::vector<const StoredRegion*>& regions);
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
  Located SearchBeside(const RegionFingerprint& print, const std::vector<Located>& found);

  const CodePage& code_page_;
  bool smart_;
  DocumentList documents_;
  std::map<std::pair<std::size_t, std::string>, std::vector<Candidate>> candidates_;
};

}  // namespace ph
