// Scoring elements against a stored region's fingerprint and choosing the one that matches.
#include "band/engine/relocation.h"

#include <algorithm>
#include <cmath>

#include "platform/code_page.h"

namespace ph {
namespace {

// Sites number their ids ("post-4711"): two ids that differ only in their digits are nearly the same.
std::string WithoutDigits(std::string_view text) {
  std::string out;
  for (char c : text) {
    const bool digit = c >= '0' && c <= '9';
    if (!digit) {
      out += c;
    } else if (out.empty() || out.back() != '#') {
      out += '#';
    }
  }
  return out;
}

// Nothing when neither element has an id: the feature then says nothing either way.
std::optional<float> IdLikeness(const std::string& a, const std::string& b) {
  if (a.empty() && b.empty()) return std::nullopt;
  if (a == b) return 1.0f;
  if (!a.empty() && !b.empty() && WithoutDigits(a) == WithoutDigits(b)) return 0.75f;
  return 0.0f;
}

// Shared classes over all classes of the two (numbered ones compared without their digits).
std::optional<float> ClassLikeness(const std::vector<std::string>& a, const std::vector<std::string>& b) {
  if (a.empty() && b.empty()) return std::nullopt;
  float shared = 0;
  for (const auto& x : a) {
    float best = 0;
    for (const auto& y : b) {
      if (x == y) {
        best = 1;
        break;
      }
      if (best == 0 && WithoutDigits(x) == WithoutDigits(y)) best = 0.75f;
    }
    shared += best;
  }
  const float all = static_cast<float>(a.size() + b.size()) - shared;
  return all > 0 ? shared / all : 1.0f;
}

struct Tally {
  float got = 0, of = 0;
  void Add(float weight, float value) {
    got += weight * value;
    of += weight;
  }
  void Add(float weight, std::optional<float> value) {
    if (value) Add(weight, *value);
  }
  float Score() const { return of > 0 ? got / of : 1.0f; }
};

// The parent weighs most; each ancestor further up counts less.
constexpr float kAncestorWeight[ElementShape::kAncestors] = {2.0f, 1.25f, 0.75f};

Tally StructureTally(const RegionFingerprint& print, const ElementShape& shape) {
  const ElementShape& stored = print.shape;
  const auto& ancestors = shape.ancestors;
  Tally t;
  t.Add(2.0f, IdLikeness(stored.self.id, shape.self.id));
  t.Add(3.0f, ClassLikeness(stored.self.classes, shape.self.classes));
  // What it holds: a block of paragraphs is not the line of tags beside it.
  t.Add(2.0f, ClassLikeness(stored.child_tags, shape.child_tags));
  const std::size_t levels = std::max(stored.ancestors.size(), ancestors.size());
  for (std::size_t i = 0; i < levels && i < ElementShape::kAncestors; ++i) {
    if (i >= stored.ancestors.size() || i >= ancestors.size()) {
      t.Add(kAncestorWeight[i], 0.0f);  // one lies deeper below the body than the other
      continue;
    }
    const ElementMark& a = stored.ancestors[i];
    const ElementMark& b = ancestors[i];
    const float value = 0.4f * (a.tag == b.tag ? 1.0f : 0.0f) + 0.3f * IdLikeness(a.id, b.id).value_or(1.0f) +
                        0.3f * ClassLikeness(a.classes, b.classes).value_or(1.0f);
    t.Add(kAncestorWeight[i], value);
  }
  return t;
}

// Text sizes compared on a logarithmic scale: a longer article is still the article.
float TextLikeness(std::uint32_t a, std::uint32_t b) {
  const double lo = std::log1p(std::min(a, b)), hi = std::log1p(std::max(a, b));
  return hi > 0 ? static_cast<float>(lo / hi) : 1.0f;
}

// "No text where there was much": the element the path names has lost its content.
bool TextVanished(std::uint32_t stored, std::uint32_t now) { return stored >= 100 && now * 10u < stored; }

// The element and its ancestors carry the same tags, ids and classes as stored (its content may differ).
bool SameMarks(const ElementShape& stored, const ElementShape& now) {
  auto same = [](const ElementMark& a, const ElementMark& b) {
    if (a.tag != b.tag || a.id != b.id || a.classes.size() != b.classes.size()) return false;
    for (const auto& c : a.classes)
      if (std::find(b.classes.begin(), b.classes.end(), c) == b.classes.end()) return false;
    return true;
  };
  if (!same(stored.self, now.self) || stored.ancestors.size() != now.ancestors.size()) return false;
  for (std::size_t i = 0; i < stored.ancestors.size(); ++i)
    if (!same(stored.ancestors[i], now.ancestors[i])) return false;
  return true;
}

// Candidates this close to the best structure go on to the full comparison, where their place and
// text may still decide.
constexpr float kStructureWindow = 0.05f;
// More elements than this alike in everything but their text and place: a guess, not a match.
constexpr std::size_t kMostAlike = 256;

// How many of the stored ids (of the element and its ancestors) the candidate has exactly.
int ExactIds(const ElementShape& stored, const ElementShape& now) {
  int n = !stored.self.id.empty() && stored.self.id == now.self.id;
  for (std::size_t i = 0; i < stored.ancestors.size() && i < now.ancestors.size(); ++i)
    n += !stored.ancestors[i].id.empty() && stored.ancestors[i].id == now.ancestors[i].id;
  return n;
}

}  // namespace

float StructureScore(const RegionFingerprint& stored, const ElementShape& shape) {
  return StructureTally(stored, shape).Score();
}

float FullScore(const RegionFingerprint& stored, const ElementShape& shape, std::int32_t sibling_index,
                std::uint32_t text_length) {
  Tally t = StructureTally(stored, shape);
  if (stored.sibling_index >= 0 && sibling_index >= 0)
    t.Add(0.5f, 1.0f / (1.0f + static_cast<float>(std::abs(stored.sibling_index - sibling_index))));
  t.Add(2.0f, TextLikeness(stored.text_length, text_length));
  return t.Score();
}

Relocator::Relocator(const DocumentPtr& top, const CodePage& code_page, bool smart)
    : code_page_(code_page), smart_(smart), documents_(CollectDocuments(top)) {}

void Relocator::Forget() { candidates_.clear(); }

const std::vector<Relocator::Candidate>& Relocator::CandidatesOf(std::size_t document, const std::string& tag) {
  auto key = std::make_pair(document, tag);
  auto it = candidates_.find(key);
  if (it != candidates_.end()) return it->second;
  std::vector<Candidate>& list = candidates_[key];
  CollectionPtr all = documents_[document]->ElementsByTagName(code_page_.FromAnsi(tag));
  const long n = all ? all->Length() : 0;
  list.reserve(static_cast<std::size_t>(n));
  for (long i = 0; i < n; ++i) {
    ElementPtr element = all->Item(i);
    if (!element) continue;
    list.push_back(Candidate{element, ShapeOf(*element, code_page_)});
  }
  return list;
}

Located Relocator::Search(const RegionFingerprint& print, std::int32_t frame, const ElementPtr& by_path) {
  std::vector<std::size_t> searched;
  if (frame >= 0 && static_cast<std::size_t>(frame) < documents_.size()) {
    searched.push_back(static_cast<std::size_t>(frame));
  } else {
    for (std::size_t d = 0; d < documents_.size(); ++d) searched.push_back(d);
  }
  struct Scored {
    const Candidate* candidate;
    float structure;
    int exact_ids;
  };
  std::vector<Scored> scored;
  int most_ids = 0;
  for (std::size_t d : searched) {
    for (const Candidate& c : CandidatesOf(d, print.shape.self.tag)) {
      const int ids = ExactIds(print.shape, c.shape);
      most_ids = std::max(most_ids, ids);
      scored.push_back({&c, StructureScore(print, c.shape), ids});
    }
  }
  // An id the page still has, on the element or its ancestors, is where the region is: only the
  // elements that keep the most of the stored ids are in the running.
  float best_structure = 0;
  for (const auto& s : scored)
    if (s.exact_ids == most_ids) best_structure = std::max(best_structure, s.structure);
  std::vector<const Candidate*> close;
  for (const auto& s : scored)
    if (s.exact_ids == most_ids && s.structure >= best_structure - kStructureWindow) close.push_back(s.candidate);
  if (close.empty() || close.size() > kMostAlike) return {};

  Located best, second, path;
  for (const Candidate* c : close) {
    if (c->element->SourceIndex() < 0) continue;  // taken out of the page since it was listed
    const float s = FullScore(print, c->shape, SiblingIndex(*c->element), TextLength(*c->element));
    if (by_path && by_path->OwnerDocument() == c->element->OwnerDocument() && SameElement(*by_path, *c->element))
      path = Located{c->element, s};
    if (s > best.score) {
      second = best;
      best = Located{c->element, s};
    } else if (s > second.score) {
      second = Located{c->element, s};
    }
  }
  if (!best.element || best.score < kRelocationThreshold) return {};
  // Among elements that match alike the path still decides, as it always did.
  if (path.element && path.score >= kRelocationThreshold && path.score >= best.score - kRelocationMargin) return path;
  if (second.element && second.score > best.score - kRelocationMargin) return {};
  return best;
}

Located Relocator::Locate(const StoredRegion& region) {
  ElementPtr by_path = ResolvePath(documents_, region.path, code_page_);
  if (!smart_ || !region.fingerprint) return Located{by_path, by_path ? 1.0f : 0.0f};
  const RegionFingerprint& print = *region.fingerprint;
  if (by_path) {
    const ElementShape shape = ShapeOf(*by_path, code_page_);
    const float s = StructureScore(print, shape);
    if (SameMarks(print.shape, shape) && s >= kPathConfirmation && !TextVanished(print.text_length, TextLength(*by_path)))
      return Located{by_path, s};
  }
  const std::int32_t frame = region.path.empty() ? -1 : region.path.front().index;
  return Search(print, frame, by_path);
}

}  // namespace ph
