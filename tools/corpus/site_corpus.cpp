// The templates of the generated corpus.
#include "tools/corpus/site_corpus.h"

#include <cstdint>
#include <functional>

namespace ph::corpus {
namespace {

// A small generator of our own, so that every platform and library makes the same pages.
class Rng {
 public:
  explicit Rng(std::uint64_t seed) : state_(seed * 0x9E3779B97F4A7C15ull + 1) {}
  std::uint32_t Next() {
    state_ ^= state_ << 13;
    state_ ^= state_ >> 7;
    state_ ^= state_ << 17;
    return static_cast<std::uint32_t>(state_ >> 11);
  }
  int Range(int lo, int hi) { return lo + static_cast<int>(Next() % static_cast<std::uint32_t>(hi - lo + 1)); }
  bool Chance(int percent) { return Range(0, 99) < percent; }

 private:
  std::uint64_t state_;
};

const char* const kWords[] = {
    "market", "river", "council", "season", "harvest", "station", "report", "winter", "garden", "bridge",
    "engine", "window", "letter", "member", "forest", "valley", "signal", "museum", "harbour", "village",
    "budget", "planet", "figure", "crowd", "rail", "storm", "coast", "table", "paper", "voice",
    "orchard", "school", "theatre", "league", "canal", "mountain", "summer", "record", "courier", "island",
    "quietly", "early", "later", "again", "nearly", "rarely", "often", "slowly", "openly", "briefly",
    "opened", "closed", "rose", "fell", "moved", "grew", "found", "kept", "made", "held"};

std::string Word(Rng& rng) { return kWords[rng.Next() % (sizeof kWords / sizeof kWords[0])]; }

std::string Words(Rng& rng, int n) {
  std::string s;
  for (int i = 0; i < n; ++i) s += (i ? " " : "") + Word(rng);
  return s;
}

std::string Capitalised(std::string s) {
  if (!s.empty() && s[0] >= 'a' && s[0] <= 'z') s[0] = static_cast<char>(s[0] - 'a' + 'A');
  return s;
}

std::string Sentence(Rng& rng) { return Capitalised(Words(rng, rng.Range(6, 14))) + "."; }

std::string Paragraph(Rng& rng, int sentences) {
  std::string s;
  for (int i = 0; i < sentences; ++i) s += (i ? " " : "") + Sentence(rng);
  return s;
}

// Writes markup and, for text inside a region, the text a person expects of it.
class Page {
 public:
  void Open(const std::string& tag, const std::string& attributes = "") {
    html_ += "<" + tag + (attributes.empty() ? "" : " " + attributes) + ">";
  }
  void Close(const std::string& tag) { html_ += "</" + tag + ">\n"; }
  // The element around a region's content, marked for the trial.
  void OpenRegion(int region, const std::string& tag, const std::string& attributes) {
    Open(tag, attributes + " " + kRegionAttribute + "=\"" + std::to_string(region) + "\"");
    region_ = region;
  }
  void CloseRegion(const std::string& tag) {
    Close(tag);
    region_ = 0;
  }
  void Text(const std::string& text) {
    html_ += text;
    if (region_ == 0) return;
    if (expected_.size() < static_cast<std::size_t>(region_)) expected_.resize(region_);
    expected_[region_ - 1] += " " + text;
  }
  void Element(const std::string& tag, const std::string& attributes, const std::string& text) {
    Open(tag, attributes);
    Text(text);
    Close(tag);
  }

  // The page lacks a region the layout has: a person would save nothing here.
  void Absent() { absent_ = true; }

  CorpusPage Finish(std::string url, const std::string& title) {
    CorpusPage page;
    page.url = std::move(url);
    // Titles written over several lines, as templates often write them.
    page.html = "<!DOCTYPE html>\n<html><head>\n<title>\n    " + title + "\n  </title>\n</head>\n<body>\n" + html_ +
                "</body></html>\n";
    std::string all;
    for (const auto& text : expected_) all += " " + text;
    page.expected = absent_ ? std::string() : CollapseWhitespace(all);
    return page;
  }

 private:
  std::string html_;
  std::vector<std::string> expected_;
  int region_ = 0;
  bool absent_ = false;
};

// A news article: the headline and the story are picked; an alert, advertisements, a kicker, a
// standfirst, related links and a most-read box come and go; the story's length varies.
CorpusPage NewsPage(int n, Rng& rng) {
  Page p;
  const std::string headline = Capitalised(Words(rng, rng.Range(4, 9)));
  p.Open("div", "class=\"page\" id=\"page-" + std::to_string(1000 + n * 7) + "\"");
  p.Open("div", "class=\"masthead\"");
  p.Element("a", "class=\"logo\" href=\"/\"", "Daily Ledger");
  p.Open("ul", "class=\"nav\"");
  for (const char* section : {"World", "Business", "Science", "Culture"}) p.Element("li", "", section);
  p.Close("ul");
  p.Close("div");
  if (rng.Chance(35)) p.Element("div", "class=\"breaking\" id=\"alert-" + std::to_string(n) + "\"", "Breaking: " + Sentence(rng));
  p.Open("div", "class=\"main\" id=\"main-" + std::to_string(n) + "\"");
  if (rng.Chance(30)) p.Element("div", "class=\"ad-slot\" id=\"ad-" + std::to_string(rng.Next() % 9999) + "\"", "Advertisement " + Words(rng, 3));
  p.Open("div", "class=\"headline-block\"");
  if (rng.Chance(40)) p.Element("div", "class=\"kicker\"", Capitalised(Words(rng, 2)));
  p.OpenRegion(1, "h1", "");
  p.Text(headline);
  p.CloseRegion("h1");
  if (rng.Chance(50)) p.Element("p", "class=\"standfirst\"", Sentence(rng));
  p.Element("div", "class=\"byline\"", "By " + Capitalised(Word(rng)) + " " + Capitalised(Word(rng)));
  p.Close("div");
  if (rng.Chance(30)) p.Element("div", "class=\"ad-slot\" id=\"ad-" + std::to_string(rng.Next() % 9999) + "\"", "Advertisement " + Words(rng, 3));
  if (n > 0 && rng.Chance(10)) {
    // A live blog in the story's place: there is no story to save, and the page is to be skipped.
    p.Open("div", "class=\"live-feed\" id=\"live-" + std::to_string(n) + "\"");
    for (int i = 0, entries = rng.Range(3, 8); i < entries; ++i) p.Element("div", "class=\"entry\"", Sentence(rng));
    p.Close("div");
    p.Absent();
  } else {
    p.OpenRegion(2, "div", "class=\"article-body\" id=\"story-" + std::to_string(50000 + n * 13) + "\"");
    for (int i = 0, paragraphs = rng.Range(2, 12); i < paragraphs; ++i) p.Element("p", "", Paragraph(rng, rng.Range(2, 6)));
    p.CloseRegion("div");
  }
  if (rng.Chance(60)) {
    p.Open("div", "class=\"related\"");
    p.Element("h3", "", "Related");
    p.Open("ul", "");
    for (int i = 0; i < 3; ++i) p.Element("li", "", Capitalised(Words(rng, 5)));
    p.Close("ul");
    p.Close("div");
  }
  p.Open("div", "class=\"comments\"");
  p.Element("h3", "", "Comments");
  for (int i = 0, c = rng.Range(0, 4); i < c; ++i) p.Element("div", "class=\"comment\"", Sentence(rng));
  p.Close("div");
  p.Close("div");
  p.Open("div", "class=\"sidebar\"");
  if (rng.Chance(50)) {
    p.Open("div", "class=\"most-read\"");
    p.Element("h3", "", "Most read");
    for (int i = 0; i < 5; ++i) p.Element("div", "class=\"teaser\"", Capitalised(Words(rng, 6)));
    p.Close("div");
  }
  p.Element("div", "class=\"newsletter\"", "Sign up for the morning " + Words(rng, 2));
  p.Close("div");
  p.Element("div", "class=\"footer\"", "Copyright Daily Ledger");
  p.Close("div");
  return p.Finish("http://news.test/story-" + std::to_string(n) + ".html", headline + " | Daily Ledger");
}

// A reference article: the article text is picked; its infobox table (whose rows vary, so the
// table layout differs from page to page), a site notice and a hatnote come and go.
CorpusPage ReferencePage(int n, Rng& rng) {
  Page p;
  const std::string term = Capitalised(Words(rng, rng.Range(1, 3)));
  p.Element("div", "id=\"mw-page-base\"", "");
  p.Open("div", "id=\"content\" class=\"mw-body\"");
  if (rng.Chance(30)) p.Element("div", "id=\"siteNotice\" class=\"notice\"", "Please support " + Words(rng, 4));
  p.Element("h1", "id=\"firstHeading\" class=\"firstHeading\"", term);
  p.Open("div", "id=\"bodyContent\" class=\"vector-body\"");
  if (rng.Chance(40)) p.Element("div", "class=\"hatnote\"", "For other uses see " + term + " disambiguation.");
  p.OpenRegion(1, "div", "class=\"mw-parser-output\"");
  if (rng.Chance(60)) {
    p.Open("table", "class=\"infobox\"");
    for (int i = 0, rows = rng.Range(3, 9); i < rows; ++i) {
      p.Open("tr");
      p.Element("th", "", Capitalised(Word(rng)));
      p.Element("td", "", Words(rng, 2));
      p.Close("tr");
    }
    p.Close("table");
  }
  p.Element("p", "", Paragraph(rng, rng.Range(2, 5)));
  for (int s = 0, sections = rng.Range(1, 5); s < sections; ++s) {
    p.Element("h2", "", Capitalised(Words(rng, 2)));
    for (int i = 0, k = rng.Range(1, 3); i < k; ++i) p.Element("p", "", Paragraph(rng, rng.Range(2, 5)));
  }
  p.CloseRegion("div");
  if (rng.Chance(50)) p.Element("div", "class=\"navbox\"", "See also " + Words(rng, 6));
  p.Close("div");
  p.Close("div");
  p.Element("div", "id=\"footer\"", "Text is available under an open licence.");
  return p.Finish("http://wiki.test/wiki/" + std::to_string(n), term + " - Openpedia");
}

// A shop listing: the block of results is picked; a promotion, breadcrumbs and recently viewed items
// come and go, the filters and the number of results vary, and the results block's id changes.
CorpusPage ListingPage(int n, Rng& rng) {
  Page p;
  const std::string category = Capitalised(Word(rng));
  p.Open("div", "class=\"wrapper\"");
  p.Open("div", "class=\"site-header\"");
  p.Element("span", "class=\"logo\"", "Shopfront");
  p.Element("div", "class=\"cart\"", "Cart " + std::to_string(rng.Range(0, 5)));
  p.Close("div");
  if (rng.Chance(35)) p.Element("div", "class=\"promo-banner\" id=\"promo-" + std::to_string(n) + "\"", "Sale on " + Words(rng, 3));
  p.Open("div", "class=\"layout\"");
  if (rng.Chance(50)) p.Element("div", "class=\"breadcrumbs\"", "Home / " + category);
  p.Open("div", "class=\"filters\"");
  p.Element("h4", "", "Filter");
  for (int i = 0, f = rng.Range(2, 6); i < f; ++i) p.Element("div", "class=\"filter\"", Capitalised(Word(rng)));
  p.Close("div");
  const int items = rng.Range(4, 20);
  p.OpenRegion(1, "div", "class=\"results\" id=\"results-" + std::to_string(rng.Next() % 99999) + "\"");
  p.Element("div", "class=\"result-count\"", std::to_string(items) + " results");
  for (int i = 0; i < items; ++i) {
    p.Open("div", "class=\"item\" id=\"item-" + std::to_string(rng.Next() % 999999) + "\"");
    p.Element("h3", "", Capitalised(Words(rng, 3)));
    p.Element("div", "class=\"price\"", std::to_string(rng.Range(1, 400)) + ".99");
    p.Close("div");
  }
  p.CloseRegion("div");
  if (rng.Chance(40)) {
    p.Open("div", "class=\"recently-viewed\"");
    p.Element("h4", "", "Recently viewed");
    for (int i = 0; i < 3; ++i) p.Element("div", "class=\"item\"", Capitalised(Words(rng, 3)));
    p.Close("div");
  }
  p.Close("div");
  p.Element("div", "class=\"site-footer\"", "Shopfront customer service");
  p.Close("div");
  return p.Finish("http://shop.test/" + category + "?page=" + std::to_string(n), category + " - page " + std::to_string(n) + " | Shopfront");
}

// A forum thread laid out in tables: the cell of posts is picked; a notice table above it comes and
// goes (another top-level table), and the number of posts varies.
CorpusPage ForumPage(int n, Rng& rng) {
  Page p;
  const std::string topic = Capitalised(Words(rng, rng.Range(3, 6)));
  p.Open("table", "class=\"header\"");
  p.Open("tr");
  p.Element("td", "", "Orchard Forum");
  p.Element("td", "", "Log in");
  p.Close("tr");
  p.Close("table");
  if (rng.Chance(30)) {
    p.Open("table", "class=\"notice\"");
    p.Open("tr");
    p.Element("td", "", "Maintenance tonight " + Words(rng, 3));
    p.Close("tr");
    p.Close("table");
  }
  p.Open("table", "class=\"thread\"");
  p.Open("tr");
  p.Open("td", "class=\"nav\"");
  for (int i = 0; i < 4; ++i) p.Element("div", "class=\"board\"", Capitalised(Word(rng)));
  p.Close("td");
  p.OpenRegion(1, "td", "class=\"posts\"");
  p.Element("h2", "", topic);
  for (int i = 0, posts = rng.Range(1, 12); i < posts; ++i) {
    p.Open("div", "class=\"post\" id=\"post-" + std::to_string(700000 + n * 50 + i) + "\"");
    p.Element("div", "class=\"author\"", Capitalised(Word(rng)));
    p.Element("p", "", Paragraph(rng, rng.Range(1, 4)));
    p.Close("div");
  }
  p.CloseRegion("td");
  p.Close("tr");
  p.Close("table");
  p.Open("table", "class=\"footer\"");
  p.Open("tr");
  p.Element("td", "", "Forum rules and help");
  p.Close("tr");
  p.Close("table");
  return p.Finish("http://forum.test/thread-" + std::to_string(n) + ".html", topic + " - Orchard Forum");
}

// A blog post whose text block has neither id nor class: only its place under the post, its
// neighbours (a date line and a tag line that come and go) and its length tell it apart.
CorpusPage BlogPage(int n, Rng& rng) {
  Page p;
  const std::string title = Capitalised(Words(rng, rng.Range(3, 7)));
  p.Open("div", "id=\"wrap\"");
  p.Element("div", "class=\"blog-title\"", "Notes from the orchard");
  if (rng.Chance(30)) p.Element("div", "class=\"announcement\"", "New: " + Sentence(rng));
  p.Open("div", "class=\"post\" id=\"post-" + std::to_string(300 + n) + "\"");
  p.Element("h2", "class=\"post-title\"", title);
  if (rng.Chance(60)) p.Element("div", "", "Posted on day " + std::to_string(rng.Range(1, 28)) + " by " + Capitalised(Word(rng)));
  p.OpenRegion(1, "div", "");
  for (int i = 0, paragraphs = rng.Range(1, 8); i < paragraphs; ++i) p.Element("p", "", Paragraph(rng, rng.Range(1, 6)));
  p.CloseRegion("div");
  if (rng.Chance(50)) p.Element("div", "", "Tags: " + Words(rng, 3));
  p.Close("div");
  p.Open("div", "class=\"blogroll\"");
  for (int i = 0; i < 4; ++i) p.Element("div", "", Capitalised(Words(rng, 2)));
  p.Close("div");
  p.Close("div");
  return p.Finish("http://blog.test/" + std::to_string(n) + ".html", title + " - Notes from the orchard");
}

// A magazine whose story block keeps one id, tag and classes on every page while everything around
// it changes: grid wrappers of other names and depths, the story now and then in a layout table
// beside the sidebar, a table of figures that comes and goes (so the pages' table layouts differ).
CorpusPage AnchoredPage(int n, Rng& rng) {
  struct Wrapper {
    const char* tag;
    const char* attributes;
  };
  static const Wrapper kWrappers[] = {{"div", "class=\"col-8\""},
                                      {"section", "id=\"primary\" class=\"content-area\""},
                                      {"main", "id=\"main\" class=\"site-main\""},
                                      {"div", "id=\"content-wrap\""},
                                      {"article", "class=\"post type-post\""},
                                      {"div", "class=\"grid__cell grid__cell--wide\""}};
  Page p;
  const std::string title = Capitalised(Words(rng, rng.Range(4, 8)));
  p.Open("div", "class=\"" + std::string(rng.Chance(50) ? "site" : "site site--wide") + "\"");
  p.Element("div", "class=\"topbar\"", "The Quarterly Review");
  if (rng.Chance(40)) {
    p.Open("table", "class=\"figures\"");
    for (int i = 0, rows = rng.Range(2, 5); i < rows; ++i) {
      p.Open("tr");
      p.Element("td", "", Capitalised(Word(rng)));
      p.Element("td", "", std::to_string(rng.Range(10, 999)));
      p.Close("tr");
    }
    p.Close("table");
  }
  const bool in_table = n > 0 && rng.Chance(35);
  if (in_table) {
    p.Open("table", "class=\"frame\"");
    p.Open("tr");
    p.Open("td", "class=\"content-cell\"");
  }
  std::vector<const Wrapper*> wrappers;
  for (int i = 0, depth = rng.Range(1, 3); i < depth; ++i) {
    wrappers.push_back(&kWrappers[rng.Next() % (sizeof kWrappers / sizeof kWrappers[0])]);
    p.Open(wrappers.back()->tag, wrappers.back()->attributes);
  }
  p.Element("h1", "class=\"title\"", title);
  if (rng.Chance(50)) p.Element("div", "class=\"dateline\"", "Issue " + std::to_string(rng.Range(1, 80)));
  p.OpenRegion(1, "div", "id=\"article-text\" class=\"article__text\"");
  for (int i = 0, paragraphs = rng.Range(3, 10); i < paragraphs; ++i) {
    if (i > 0 && rng.Chance(15)) p.Element("h2", "", Capitalised(Words(rng, 3)));
    if (i > 0 && rng.Chance(10)) p.Element("figure", "", "Picture: " + Words(rng, 4));
    p.Element("p", "", Paragraph(rng, rng.Range(2, 5)));
  }
  p.CloseRegion("div");
  for (auto it = wrappers.rbegin(); it != wrappers.rend(); ++it) p.Close((*it)->tag);
  if (in_table) {
    p.Close("td");
    p.Open("td", "class=\"side-cell\"");
  }
  p.Open("div", "class=\"" + std::string(rng.Chance(50) ? "sidebar" : "aside-column") + "\"");
  for (int i = 0, k = rng.Range(2, 5); i < k; ++i) p.Element("div", "class=\"teaser\"", Capitalised(Words(rng, 5)));
  p.Close("div");
  if (in_table) {
    p.Close("td");
    p.Close("tr");
    p.Close("table");
  }
  p.Element("div", "class=\"footer\"", "The Quarterly Review, all rights reserved");
  p.Close("div");
  return p.Finish("http://review.test/" + std::to_string(2000 + n), title + " | The Quarterly Review");
}

// A feature site where the title and the story are picked; on some pages a picture at the top takes
// the title into a header of its own, so that the title has new ancestors while the story stays.
CorpusPage FeaturePage(int n, Rng& rng) {
  Page p;
  const std::string title = Capitalised(Words(rng, rng.Range(3, 8)));
  const bool hero = n > 0 && rng.Chance(40);
  p.Open("div", "class=\"page\"");
  p.Open("div", "class=\"masthead\"");
  p.Element("a", "class=\"brand\" href=\"/\"", "Longreads Weekly");
  p.Close("div");
  if (hero) {
    p.Open("section", "class=\"hero\"");
    p.Element("div", "class=\"hero__media\"", "");
    p.Open("header", "class=\"hero__text\"");
    p.OpenRegion(1, "h1", "");
    p.Text(title);
    p.CloseRegion("h1");
    p.Close("header");
    p.Close("section");
  }
  p.Open("div", "class=\"article\"");
  if (!hero) {
    p.Open("div", "class=\"article-head\"");
    if (rng.Chance(40)) p.Element("span", "class=\"kicker\"", Capitalised(Words(rng, 2)));
    p.OpenRegion(1, "h1", "");
    p.Text(title);
    p.CloseRegion("h1");
    p.Close("div");
  }
  p.Element("div", "class=\"byline\"", "By " + Capitalised(Word(rng)) + " " + Capitalised(Word(rng)));
  p.OpenRegion(2, "div", "class=\"story-text\"");
  for (int i = 0, paragraphs = rng.Range(3, 10); i < paragraphs; ++i) p.Element("p", "", Paragraph(rng, rng.Range(2, 5)));
  p.CloseRegion("div");
  p.Open("div", "class=\"more\"");
  p.Element("h3", "", "More features");
  for (int i = 0; i < 3; ++i) p.Element("div", "class=\"teaser\"", Capitalised(Words(rng, 5)));
  p.Close("div");
  p.Close("div");
  p.Close("div");
  return p.Finish("http://longreads.test/feature/" + std::to_string(n), title + " - Longreads Weekly");
}

// One news site's pages of several kinds: articles of this year's template (the headline and the
// story picked on the first), of an older one whose story sits in a layout table under other
// wrappers, of the oldest, whose block of the story's classes holds the story together with its
// share bar and comments, and whose story block has another name; and index pages, where blocks of
// the story's classes hold teasers. On the oldest articles and on index pages the right outcome is
// to save nothing: what carries the marks is not the story.
CorpusPage MixedFamilyPage(int n, Rng& rng) {
  enum Kind { kCurrent, kOlder, kOldest, kIndex };
  const int roll = rng.Range(0, 99);
  const Kind kind = n == 0 || roll < 55 ? kCurrent : roll < 70 ? kOlder : roll < 85 ? kOldest : kIndex;
  Page p;
  const std::string headline = Capitalised(Words(rng, rng.Range(4, 9)));
  auto story = [&](bool region) {
    if (region) {
      p.OpenRegion(2, "div", "class=\"article-body\"");
    } else {
      p.Open("div", "class=\"entry-text\"");
    }
    for (int i = 0, paragraphs = rng.Range(3, 10); i < paragraphs; ++i) p.Element("p", "", Paragraph(rng, rng.Range(2, 5)));
    if (region) {
      p.CloseRegion("div");
    } else {
      p.Close("div");
    }
  };
  auto headline_region = [&] {
    p.OpenRegion(1, "h1", "class=\"headline\"");
    p.Text(headline);
    p.CloseRegion("h1");
  };
  p.Open("div", "class=\"site\"");
  p.Open("div", "class=\"header\"");
  p.Element("a", "class=\"logo\" href=\"/\"", "Evening Post");
  p.Open("ul", "class=\"menu\"");
  for (const char* section : {"Local", "Sport", "Opinion"}) {
    p.Open("li", "");
    p.Element("a", "href=\"/s\"", section);
    p.Close("li");
  }
  p.Close("ul");
  p.Close("div");
  switch (kind) {
    case kCurrent:
      p.Open("div", "class=\"content\"");
      p.Open("div", "class=\"article\"");
      headline_region();
      p.Element("div", "class=\"meta\"", "Published " + std::to_string(rng.Range(1, 28)) + " May");
      story(true);
      p.Close("div");
      p.Close("div");
      break;
    case kOlder:
      p.Open("table", "class=\"layout\"");
      p.Open("tr");
      p.Open("td", "class=\"main-cell\"");
      p.Open("div", "class=\"story-wrap\"");
      headline_region();
      story(true);
      p.Close("div");
      p.Close("td");
      p.Open("td", "class=\"ads-cell\"");
      p.Element("div", "class=\"ad\"", "Advertisement " + Words(rng, 3));
      p.Close("td");
      p.Close("tr");
      p.Close("table");
      break;
    case kOldest:
      // The oldest template: the headline as today, the story under another name, and the story's
      // block name on the block around the story, its share bar and its comments.
      p.Open("div", "class=\"content\"");
      p.Open("div", "class=\"article\"");
      headline_region();
      p.Open("div", "class=\"article-body\"");
      story(false);
      p.Open("div", "class=\"share\"");
      for (const char* to : {"Share by mail", "Share with friends", "Print this story"}) p.Element("a", "href=\"/share\"", to);
      p.Close("div");
      p.Open("div", "class=\"comments\"");
      for (int i = 0, c = rng.Range(2, 6); i < c; ++i) p.Element("div", "class=\"comment\"", Sentence(rng));
      p.Close("div");
      p.Close("div");
      p.Close("div");
      p.Close("div");
      p.Absent();
      break;
    case kIndex:
      p.Open("div", "class=\"content\"");
      p.Open("div", "class=\"article\"");
      p.Element("h1", "class=\"headline\"", "Latest news");
      for (int i = 0, k = rng.Range(4, 10); i < k; ++i) {
        p.Open("div", "class=\"article-body\"");
        p.Open("h2", "");
        p.Element("a", "href=\"/story-" + std::to_string(rng.Range(1, 9999)) + "\"", Capitalised(Words(rng, 6)));
        p.Close("h2");
        p.Element("p", "", Sentence(rng));
        p.Element("a", "class=\"more\" href=\"/more\"", "Read more");
        p.Close("div");
      }
      p.Close("div");
      p.Close("div");
      p.Absent();
      break;
  }
  p.Element("div", "class=\"footer\"", "Evening Post, since 1921");
  p.Close("div");
  return p.Finish("http://post.test/" + std::to_string(n) + ".html", headline + " - Evening Post");
}

}  // namespace

std::string CollapseWhitespace(std::string_view text) {
  std::string out;
  bool gap = false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    // U+00A0 in UTF-8 counts as whitespace too.
    const bool nbsp = c == '\xC2' && i + 1 < text.size() && text[i + 1] == '\xA0';
    if (c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || nbsp) {
      if (nbsp) ++i;
      gap = !out.empty();
      continue;
    }
    if (gap) out += ' ';
    gap = false;
    out += c;
  }
  return out;
}

std::vector<CorpusSite> MakeCorpus(int pages_per_site) {
  struct Template {
    const char* name;
    int regions;
    std::function<CorpusPage(int, Rng&)> make;
  };
  const Template templates[] = {{"news article", 2, NewsPage},
                                {"reference article", 1, ReferencePage},
                                {"shop listing", 1, ListingPage},
                                {"forum in tables", 1, ForumPage},
                                {"blog post", 1, BlogPage},
                                {"story by its id", 1, AnchoredPage},
                                {"title moved", 2, FeaturePage},
                                {"mixed kinds", 2, MixedFamilyPage}};
  std::vector<CorpusSite> sites;
  std::uint64_t seed = 1;
  for (const auto& t : templates) {
    CorpusSite site{t.name, t.regions, {}};
    for (int n = 0; n < pages_per_site; ++n) {
      Rng rng(seed++);
      site.pages.push_back(t.make(n, rng));
    }
    sites.push_back(std::move(site));
  }
  return sites;
}

}  // namespace ph::corpus
