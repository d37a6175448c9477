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
                                {"blog post", 1, BlogPage}};
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
