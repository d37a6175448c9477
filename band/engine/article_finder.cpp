// Finding the article: running text per block from the document's outline, weighed against links and boxes.
#include "band/engine/article_finder.h"

#include <algorithm>
#include <array>
#include <string>

#include "common/ascii.h"

namespace ph {
namespace {

enum TagKind : std::uint8_t {
  kOther,
  kCandidate,  // a block that can be picked
  kInline,     // part of the running text of the block around it
  kLink,
  kBox,        // navigation, forms, asides, footers and what is never shown
  kHeading,    // H1 to H6
  kTop,        // HTML and BODY: never picked
};

bool OneOf(WideView tag, std::initializer_list<std::string_view> names) {
  for (std::string_view name : names)
    if (TagEquals(tag, name)) return true;
  return false;
}

TagKind KindOf(WideView tag) {
  if (OneOf(tag, {"td", "div", "article", "main", "section"})) return kCandidate;
  if (TagEquals(tag, "a")) return kLink;
  if (OneOf(tag, {"b", "i", "em", "strong", "span", "small", "big", "code", "sup", "sub", "abbr", "time", "mark", "q",
                  "cite", "u", "s", "font", "br", "img", "label", "tt", "dfn", "kbd", "var", "wbr", "ins", "del"}))
    return kInline;
  if (OneOf(tag, {"nav", "aside", "footer", "form", "menu", "button", "select", "textarea", "dialog", "script", "style",
                  "noscript", "template", "head", "iframe", "object"}))
    return kBox;
  if (tag.size() == 2 && (tag[0] == u'h' || tag[0] == u'H') && tag[1] >= u'1' && tag[1] <= u'6') return kHeading;
  if (OneOf(tag, {"html", "body"})) return kTop;
  return kOther;
}

// Whether what a block is called says it is not the story: the words sites use for menus, comment
// threads, share bars, lists of other stories, banners, advertisements and the like.
bool NamedAsBox(WideView names) {
  static constexpr std::string_view kParts[] = {
      "comment", "share", "sharing", "social", "related", "sidebar", "footer", "cookie", "consent", "gdpr",
      "newsletter", "subscri", "breadcrumb", "sponsor", "advert", "promo", "recommend", "trending", "popular",
      "disqus", "navbar", "navigation", "menu", "widget", "byline", "masthead", "banner"};
  static constexpr std::string_view kWords[] = {"nav", "ad", "ads", "adsbygoogle", "tags", "meta", "author",
                                                "bio", "discussion", "replies", "complementary", "contentinfo",
                                                "search", "dialog", "alertdialog"};
  std::string word;
  auto judge = [&] {
    bool box = false;
    for (std::string_view w : kWords) box = box || word == w;
    for (std::string_view p : kParts) box = box || word.find(p) != std::string::npos;
    word.clear();
    return box;
  };
  for (char16_t c : names) {
    if (c < 0x80 && ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9'))) {
      word.push_back(LowerAscii(static_cast<char>(c)));
    } else if (!word.empty() && judge()) {
      return true;
    }
  }
  return !word.empty() && judge();
}

// What the outline says of each element, and the sums the choice is made from.
struct Page {
  const DocumentOutline& outline;
  std::vector<TagKind> kind;
  std::vector<bool> h1;
  std::vector<bool> box;         // the element is a box, or lies in one
  std::vector<std::int64_t> words;
  std::vector<std::int64_t> link_words;  // words in links (the outermost links inside)
  std::vector<std::int64_t> prose;       // running text in its subtree, outside links and boxes
  std::vector<std::int32_t> last;        // the last entry of its subtree (entries are in document order)

  std::size_t size() const { return outline.entries.size(); }
  std::int32_t parent(std::size_t i) const { return outline.entries[i].parent; }
};

Page Measure(const DocumentOutline& outline, const std::vector<WideString>& names) {
  Page p{outline, {}, {}, {}, {}, {}, {}, {}};
  // Elements that are never shown: their text is counted for themselves but is no part of the text
  // around them.
  const std::size_t n = outline.entries.size();
  std::vector<TagKind> kind_of_tag(outline.tags.size());
  std::vector<bool> h1_tag(outline.tags.size()), hidden_tag(outline.tags.size());
  for (std::size_t t = 0; t < outline.tags.size(); ++t) {
    kind_of_tag[t] = KindOf(outline.tags[t]);
    h1_tag[t] = TagEquals(outline.tags[t], "h1");
    hidden_tag[t] = OneOf(outline.tags[t], {"script", "style", "noscript", "template", "head", "title"});
  }
  p.kind.resize(n);
  p.h1.resize(n);
  p.box.resize(n);
  p.words.resize(n);
  p.last.resize(n);
  for (std::size_t i = 0; i < n; ++i) {
    const auto& e = outline.entries[i];
    p.kind[i] = kind_of_tag[e.tag];
    p.h1[i] = h1_tag[e.tag];
    p.words[i] = std::max<std::int64_t>(e.words, 0);
  }
  // Boxes by name are judged once the tree's sums are known: a wrapper whose class mentions a
  // sidebar ("has-sidebar") but holds the page's main heading is the page, not a box.
  std::vector<bool> named(n);
  if (names.size() == n)
    for (std::size_t i = 0; i < n; ++i) named[i] = p.kind[i] != kTop && !TagEquals(outline.tags[outline.entries[i].tag], "main") && NamedAsBox(names[i]);
  std::vector<bool> holds_h1(n);
  for (std::size_t i = n; i-- > 0;) {
    if (p.h1[i]) holds_h1[i] = true;
    if (holds_h1[i] && p.parent(i) >= 0) holds_h1[p.parent(i)] = true;
  }
  // Parents come before their children: one pass down settles boxes.
  for (std::size_t i = 0; i < n; ++i) {
    const std::int32_t up = p.parent(i);
    p.box[i] = (up >= 0 && p.box[up]) || p.kind[i] == kBox || (named[i] && !holds_h1[i]);
  }
  // One pass up: links, and the words each block holds itself (its text less that of the blocks
  // inside it; inline elements belong to the block around them).
  p.link_words.assign(n, 0);
  std::vector<std::int64_t> inline_links(n, 0), in_child_blocks(n, 0);
  for (std::size_t i = 0; i < n; ++i) p.last[i] = static_cast<std::int32_t>(i);
  for (std::size_t i = n; i-- > 0;) {
    const std::int32_t up = p.parent(i);
    if (up < 0) continue;
    p.last[up] = std::max(p.last[up], p.last[i]);
    p.link_words[up] += p.kind[i] == kLink ? p.words[i] : p.link_words[i];
    if (p.kind[i] == kLink) {
      inline_links[up] += p.words[i];
    } else if (p.kind[i] == kInline) {
      inline_links[up] += inline_links[i];
    } else if (!hidden_tag[outline.entries[i].tag]) {
      in_child_blocks[up] += p.words[i];
    }
  }
  p.prose.assign(n, 0);
  for (std::size_t i = n; i-- > 0;) {
    if (p.kind[i] != kInline && p.kind[i] != kLink && !p.box[i])
      p.prose[i] += std::max<std::int64_t>(0, p.words[i] - in_child_blocks[i] - inline_links[i]);
    if (p.parent(i) >= 0) p.prose[p.parent(i)] += p.prose[i];
  }
  return p;
}

// The running text close below each candidate: a block's own text counts in full for it and its
// parent, and for each level further up half as much as for the one below.
std::vector<double> CloseText(const Page& p) {
  const std::size_t n = p.size();
  std::vector<double> score(n, 0.0);
  std::vector<std::int64_t> own(n);
  for (std::size_t i = 0; i < n; ++i) {
    own[i] = p.prose[i];
  }
  for (std::size_t i = n; i-- > 0;)
    if (p.parent(i) >= 0) own[p.parent(i)] -= p.prose[i];
  static constexpr std::array<double, 5> kWeight = {1.0, 1.0, 0.5, 0.25, 0.125};
  for (std::size_t i = 0; i < n; ++i) {
    if (own[i] <= 0) continue;
    std::int32_t at = static_cast<std::int32_t>(i);
    for (double weight : kWeight) {
      if (at < 0) break;
      if (p.kind[at] == kCandidate && !p.box[at]) score[at] += weight * static_cast<double>(own[i]);
      at = p.parent(at);
    }
  }
  return score;
}

bool Contains(const Page& p, std::int32_t outer, std::int32_t inner) {
  return outer <= inner && inner <= p.last[outer];
}

// The story's heading for a pick that lacks one: the last H1 before it that is not a box or a link
// (a site's name), else none.
std::int32_t HeadingBefore(const Page& p, std::int32_t pick) {
  for (std::int32_t i = pick; i-- > 0;)
    if (p.h1[i] && !p.box[i] && p.words[i] > 0 && p.link_words[i] * 2 < p.words[i]) return i;
  return -1;
}

// Widens the pick to enclosing blocks while that pays: each step must add at least as much running
// text as it adds links and boxes, and either a tenth more text or the story's heading.
std::int32_t Widen(const Page& p, std::int32_t pick) {
  std::int32_t heading = -1;
  bool has_heading = false;
  for (std::int32_t i = pick; i <= p.last[pick]; ++i) has_heading = has_heading || (p.h1[i] && !p.box[i]);
  if (!has_heading) heading = HeadingBefore(p, pick);
  std::int32_t best = pick;
  for (std::int32_t at = p.parent(pick); at >= 0 && p.kind[at] != kTop && !p.box[at]; at = p.parent(at)) {
    if (p.kind[at] != kCandidate) continue;
    const std::int64_t text = p.prose[at] - p.prose[best];
    const std::int64_t rest = p.words[at] - p.words[best] - text;
    const bool takes_heading = heading >= 0 && Contains(p, at, heading) && !Contains(p, best, heading);
    const std::int64_t bonus = takes_heading ? p.words[heading] : 0;
    if (text + bonus >= rest && (takes_heading || text * 10 >= p.prose[best])) best = at;
    if (rest > p.words[pick]) break;  // far beyond the story: nothing further up can pay
  }
  return best;
}

}  // namespace

ElementPtr FindArticle(const DocumentList& documents) {
  ElementPtr best;
  double best_score = 0.0;
  for (const auto& document : documents) {
    const DocumentOutline outline = document->Outline(true);
    const Page page = Measure(outline, document->OutlineNames());
    const std::vector<double> close = CloseText(page);
    std::int32_t pick = -1;
    double pick_score = best_score;
    for (std::size_t i = 0; i < page.size(); ++i) {
      if (page.kind[i] != kCandidate || page.box[i] || close[i] <= 0.0) continue;
      // Links weigh against a block: a list of other stories is text, but not running text.
      const double links = page.words[i] > 0 ? static_cast<double>(page.link_words[i]) / static_cast<double>(page.words[i]) : 0.0;
      const double score = close[i] * (1.0 - std::min(links, 1.0));
      if (score > pick_score) {
        pick_score = score;
        pick = static_cast<std::int32_t>(i);
      }
    }
    if (pick < 0) continue;
    if (ElementPtr element = OutlineElement(*document, outline, Widen(page, pick))) {
      best = std::move(element);
      best_score = pick_score;
    }
  }
  return best;
}

}  // namespace ph
