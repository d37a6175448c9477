// Scoring elements against a stored region's fingerprint and choosing the one that matches.
#include "band/engine/relocation.h"

#include <algorithm>
#include <cmath>
#include <set>

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

// Its own marks and what it holds, and with_ancestors also the marks of its ancestors.
Tally StructureTally(const RegionFingerprint& print, const ElementShape& shape, bool with_ancestors = true) {
  const ElementShape& stored = print.shape;
  const auto& ancestors = shape.ancestors;
  Tally t;
  t.Add(2.0f, IdLikeness(stored.self.id, shape.self.id));
  t.Add(3.0f, ClassLikeness(stored.self.classes, shape.self.classes));
  // What it holds: a block of paragraphs is not the line of tags beside it.
  t.Add(2.0f, ClassLikeness(stored.child_tags, shape.child_tags));
  if (!with_ancestors) return t;
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

// A tally of structure completed with the element's place among its siblings and the size of its text.
float ScoreWith(Tally t, const RegionFingerprint& stored, std::int32_t sibling_index, std::uint32_t text_length) {
  if (stored.sibling_index >= 0 && sibling_index >= 0)
    t.Add(0.5f, 1.0f / (1.0f + static_cast<float>(std::abs(stored.sibling_index - sibling_index))));
  t.Add(2.0f, TextLikeness(stored.text_length, text_length));
  return t.Score();
}

// "No text where there was much": the element the path names has lost its content.
bool TextVanished(std::uint32_t stored, std::uint32_t now) { return stored >= 100 && now * 10u < stored; }

// The same tag, id and classes (in any order).
bool SameMark(const ElementMark& a, const ElementMark& b) {
  if (a.tag != b.tag || a.id != b.id || a.classes.size() != b.classes.size()) return false;
  for (const auto& c : a.classes)
    if (std::find(b.classes.begin(), b.classes.end(), c) == b.classes.end()) return false;
  return true;
}

// The element and its ancestors carry the same tags, ids and classes as stored (its content may differ).
bool SameMarks(const ElementShape& stored, const ElementShape& now) {
  if (!SameMark(stored.self, now.self) || stored.ancestors.size() != now.ancestors.size()) return false;
  for (std::size_t i = 0; i < stored.ancestors.size(); ++i)
    if (!SameMark(stored.ancestors[i], now.ancestors[i])) return false;
  return true;
}

// Texts shorter than this say little by their length (a headline of three words or of ten).
constexpr std::uint32_t kShortText = 150;
// How many blocks up from a found region a missing one is looked for (never the body itself).
constexpr int kBesideLevels = 3;

// The best and the runner-up of a search (each element offered once).
struct Podium {
  Located best, second;
  void Offer(const ElementPtr& element, float score) {
    if (score > best.score) {
      second = best;
      best = Located{element, score};
    } else if (score > second.score) {
      second = Located{element, score};
    }
  }
  // The best when it matches well enough and nothing else comes close.
  bool Decided() const {
    return best.element && best.score >= kRelocationThreshold &&
           !(second.element && second.score > best.score - kRelocationMargin);
  }
};

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
  return ScoreWith(StructureTally(stored, shape), stored, sibling_index, text_length);
}

float ContentDistance(const RegionFingerprint& stored, const ContentShape& now, bool with_length) {
  double distance = 0;
  const std::uint32_t lo = std::min(stored.text_length, now.text_length);
  const std::uint32_t hi = std::max(stored.text_length, now.text_length);
  if (with_length && hi >= kShortText) distance += std::log10((hi + 1.0) / (lo + 1.0)) / 2;
  if (stored.link_text_length && stored.text_length > 0 && now.text_length > 0) {
    const double was = static_cast<double>(*stored.link_text_length) / stored.text_length;
    const double is = static_cast<double>(std::min(now.link_text_length, now.text_length)) / now.text_length;
    distance += std::min(1.0, std::abs(was - is) / 0.4);
  }
  const auto& a = stored.shape.child_tags;
  const auto& b = now.child_tags;
  if (a.empty() != b.empty()) {
    distance += 0.5;  // text of its own where there were blocks, or the other way round
  } else if (!a.empty()) {
    // Squared: pages of one kind differ in a few of their children's tags (a figure, a list), blocks
    // of other kinds in all or nearly all of them.
    const double unlike = 1.0 - ClassLikeness(a, b).value_or(1.0f);
    distance += unlike * unlike;
  }
  return static_cast<float>(distance);
}

namespace {

// Whether an element's content is near enough to the stored region's for it to be taken.
bool ContentAgrees(const RegionFingerprint& print, Element& element, const ElementShape& shape, bool with_length) {
  const ContentShape now{shape.child_tags, TextLength(element), LinkTextLength(element)};
  return ContentDistance(print, now, with_length) < kContentDistanceLimit;
}

}  // namespace

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
  // A stored id that one element of the page carries with the stored tag and classes is where the
  // region is, whatever changed around it: that element or, when it holds something else, nothing.
  if (!print.shape.self.id.empty()) {
    const Candidate* anchor = nullptr;
    int anchors = 0;
    for (std::size_t d : searched) {
      for (const Candidate& c : CandidatesOf(d, print.shape.self.tag)) {
        if (SameMark(print.shape.self, c.shape.self) && c.element->SourceIndex() >= 0) {
          anchor = &c;
          ++anchors;
        }
      }
    }
    if (anchors == 1) {
      if (!ContentAgrees(print, *anchor->element, anchor->shape, true)) return {};
      const float s = FullScore(print, anchor->shape, SiblingIndex(*anchor->element), TextLength(*anchor->element));
      return Located{anchor->element, std::max(s, kAnchoredScore)};
    }
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
  const Candidate* best_candidate = nullptr;
  const Candidate* path_candidate = nullptr;
  for (const Candidate* c : close) {
    if (c->element->SourceIndex() < 0) continue;  // taken out of the page since it was listed
    const float s = FullScore(print, c->shape, SiblingIndex(*c->element), TextLength(*c->element));
    if (by_path && by_path->OwnerDocument() == c->element->OwnerDocument() && SameElement(*by_path, *c->element)) {
      path = Located{c->element, s};
      path_candidate = c;
    }
    if (s > best.score) {
      second = best;
      best = Located{c->element, s};
      best_candidate = c;
    } else if (s > second.score) {
      second = Located{c->element, s};
    }
  }
  if (!best.element || best.score < kRelocationThreshold) return {};
  // Among elements that match alike the path still decides, as it always did.
  if (path.element && path.score >= kRelocationThreshold && path.score >= best.score - kRelocationMargin) {
    best = path;
    best_candidate = path_candidate;
  } else if (second.element && second.score > best.score - kRelocationMargin) {
    return {};
  }
  // A block that looks right but holds another kind of content is a wrong region, not the next best's turn.
  if (!ContentAgrees(print, *best.element, best_candidate->shape, true)) return {};
  return best;
}

Located Relocator::SearchBeside(const RegionFingerprint& print, const std::vector<Located>& found) {
  const WideString tag = code_page_.FromAnsi(print.shape.self.tag);
  // Without an id or a class only its text and place tell the region from its neighbours: it is
  // taken only where it is the one element of its tag.
  const bool unmarked = print.shape.self.id.empty() && print.shape.self.classes.empty();
  // The nearest block around a found region that holds a match decides; its marks and those of the
  // region's new ancestors are not compared, only the region's own and what it holds.
  for (int level = 1; level <= kBesideLevels; ++level) {
    Podium podium;
    std::set<std::pair<const Document*, long>> seen;  // each element once, however many scopes hold it
    for (const Located& f : found) {
      if (!f.element) continue;
      ElementPtr scope = f.element;
      for (int k = 0; k < level && scope; ++k) scope = scope->Parent();
      if (!scope || HasTag(*scope, "body") || HasTag(*scope, "html") || HasTag(*scope, "frameset")) continue;
      CollectionPtr list = scope->ElementsByTagName(tag);
      for (long i = 0, n = list ? list->Length() : 0; i < n; ++i) {
        ElementPtr e = list->Item(i);
        if (!e || e->SourceIndex() < 0) continue;
        bool taken = false;  // a found region, or a block around or inside one, is not another region
        for (const Located& other : found)
          taken = taken || (other.element && (e->Contains(*other.element) || other.element->Contains(*e)));
        if (taken || !seen.insert({e->OwnerDocument().get(), e->SourceIndex()}).second) continue;
        const ElementShape shape = ShapeOf(*e, code_page_);
        podium.Offer(e, ScoreWith(StructureTally(print, shape, false), print, SiblingIndex(*e), TextLength(*e)));
      }
    }
    if (!podium.best.element || podium.best.score < kRelocationThreshold) continue;
    if (!podium.Decided() || (unmarked && seen.size() > 1)) return {};
    const ElementShape shape = ShapeOf(*podium.best.element, code_page_);
    return ContentAgrees(print, *podium.best.element, shape, true) ? podium.best : Located{};
  }
  return {};
}

Located Relocator::Locate(const StoredRegion& region) {
  ElementPtr by_path = ResolvePath(documents_, region.path, code_page_);
  if (!smart_ || !region.fingerprint) return Located{by_path, by_path ? 1.0f : 0.0f};
  const RegionFingerprint& print = *region.fingerprint;
  if (by_path) {
    const ElementShape shape = ShapeOf(*by_path, code_page_);
    const float s = StructureScore(print, shape);
    if (SameMarks(print.shape, shape) && s >= kPathConfirmation && !TextVanished(print.text_length, TextLength(*by_path)) &&
        ContentAgrees(print, *by_path, shape, false))
      return Located{by_path, s};
  }
  const std::int32_t frame = region.path.empty() ? -1 : region.path.front().index;
  return Search(print, frame, by_path);
}

std::vector<Located> Relocator::LocateAll(const std::vector<const StoredRegion*>& regions) {
  std::vector<Located> found;
  found.reserve(regions.size());
  for (const StoredRegion* region : regions) found.push_back(Locate(*region));
  if (!smart_) return found;
  // Each region found beside the others may in turn be the context of one still missing.
  for (bool more = true; more;) {
    more = false;
    for (std::size_t i = 0; i < regions.size(); ++i) {
      if (found[i].element || !regions[i]->fingerprint) continue;
      Located beside = SearchBeside(*regions[i]->fingerprint, found);
      if (beside.element) {
        found[i] = beside;
        more = true;
      }
    }
  }
  return found;
}

}  // namespace ph
