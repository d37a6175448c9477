// The article pages: a story of generated sentences, set in one of several page families with boxes around it.
#include "tools/corpus/article_pages.h"

#include <cstdint>

namespace ph::corpus {
namespace {

// A small generator of our own: the standard distributions may differ from one library to another,
// and the pages must be the same everywhere.
class Random {
 public:
  explicit Random(std::uint64_t seed) : state_(seed * 0x9E3779B97F4A7C15ull + 1) {}
  std::uint64_t Next() {
    state_ ^= state_ << 13;
    state_ ^= state_ >> 7;
    state_ ^= state_ << 17;
    return state_;
  }
  int Below(int n) { return n <= 0 ? 0 : static_cast<int>(Next() % static_cast<std::uint64_t>(n)); }
  int Between(int low, int high) { return low + Below(high - low + 1); }
  bool Chance(int percent) { return Below(100) < percent; }
  template <typename T, std::size_t N>
  const T& Pick(const T (&items)[N]) {
    return items[Below(static_cast<int>(N))];
  }

 private:
  std::uint64_t state_;
};

const char* const kWords[] = {
    "the", "council", "said", "water", "river", "plan", "people", "would", "new", "year", "city", "report",
    "school", "after", "before", "market", "price", "village", "farmers", "board", "members", "first", "last",
    "week", "month", "local", "residents", "project", "budget", "road", "bridge", "station", "train", "service",
    "museum", "library", "garden", "summer", "winter", "harbour", "fishing", "boats", "weather", "storm", "rain",
    "energy", "solar", "panels", "wind", "power", "grid", "houses", "rent", "workers", "union", "talks", "agreement",
    "court", "judge", "ruling", "appeal", "police", "officers", "hospital", "doctors", "patients", "nurses", "care",
    "students", "teachers", "exams", "results", "science", "research", "team", "study", "found", "data", "survey",
    "more", "than", "half", "most", "many", "few", "some", "every", "while", "because", "although", "during",
    "against", "between", "under", "over", "about", "around", "across", "through", "into", "with", "without",
    "and", "but", "or", "yet", "so", "of", "in", "on", "at", "for", "to", "from", "by", "as", "is", "was", "were",
    "has", "have", "had", "will", "could", "should", "might", "must", "opened", "closed", "built", "moved",
    "raised", "cut", "expected", "planned", "agreed", "refused", "asked", "told", "warned", "hoped", "feared",
    "quiet", "busy", "old", "young", "small", "large", "early", "late", "long", "short", "clear", "difficult",
    "public", "private", "national", "regional", "northern", "southern", "eastern", "western", "central",
    "mayor", "minister", "director", "spokesperson", "owner", "neighbours", "visitors", "families", "children"};

const char* const kNames[] = {"Ada Brook", "Tomas Reyes", "Mina Okafor", "Lars Holm", "Priya Nair", "Jon Weller",
                              "Sara Lindqvist", "Ken Mori", "Ines Duarte", "Olu Ade", "Maeve Quinn", "Piet de Vries"};

class Writer {
 public:
  explicit Writer(Random& r) : r_(r) {}

  std::string Words(int n, bool capital = true) {
    std::string s;
    for (int i = 0; i < n; ++i) {
      std::string w = r_.Pick(kWords);
      if (i == 0 && capital) w[0] = static_cast<char>(w[0] - 'a' + 'A');
      if (!s.empty()) s += ' ';
      s += w;
    }
    return s;
  }
  std::string Sentence() { return Words(r_.Between(6, 18)) + "."; }
  std::string Sentences(int n) {
    std::string s;
    for (int i = 0; i < n; ++i) s += (s.empty() ? "" : " ") + Sentence();
    return s;
  }
  std::string Title() { return Words(r_.Between(5, 11)); }

 private:
  Random& r_;
};

// The story: its headline and its blocks, each kept as a reader sees it.
struct Block {
  enum Kind { kParagraph, kSubheading, kList, kQuote, kFigure } kind = kParagraph;
  std::vector<std::string> parts;  // the paragraph, the heading, the list items, the quote, the caption
};

struct Story {
  std::string headline;
  std::string standfirst;  // empty when there is none
  std::vector<Block> blocks;
  std::string Text() const {
    std::string s = headline;
    if (!standfirst.empty()) s += " " + standfirst;
    for (const Block& b : blocks)
      for (const std::string& p : b.parts) s += " " + p;
    return s;
  }
};

Story MakeStory(Random& r, Writer& w) {
  Story story;
  story.headline = w.Title();
  if (r.Chance(40)) story.standfirst = w.Sentences(r.Between(1, 2));
  // Short notices, ordinary reports and long reads.
  const int size = r.Chance(20) ? r.Between(2, 4) : r.Chance(70) ? r.Between(5, 12) : r.Between(13, 28);
  for (int i = 0; i < size; ++i) {
    Block b;
    const int kind = i == 0 ? 0 : r.Below(100);
    if (kind < 80) {
      b.parts.push_back(w.Sentences(r.Between(1, 5)));
    } else if (kind < 88) {
      b.kind = Block::kSubheading;
      b.parts.push_back(w.Title());
    } else if (kind < 93) {
      b.kind = Block::kList;
      for (int j = r.Between(2, 5); j > 0; --j) b.parts.push_back(w.Sentence());
    } else if (kind < 97) {
      b.kind = Block::kQuote;
      b.parts.push_back(w.Sentences(r.Between(1, 2)));
    } else {
      b.kind = Block::kFigure;
      b.parts.push_back(w.Sentence());
    }
    story.blocks.push_back(std::move(b));
  }
  return story;
}

// Boxes around the story. Each takes a name as sites give it, or a name that says nothing.
class Boxes {
 public:
  Boxes(Random& r, Writer& w) : r_(r), w_(w) {}

  std::string Links(int n, const char* item_open = "<li>", const char* item_close = "</li>") {
    std::string s;
    for (int i = 0; i < n; ++i)
      s += std::string(item_open) + "<a href=\"/p/" + std::to_string(r_.Below(100000)) + "\">" +
           w_.Words(r_.Between(1, 3)) + "</a>" + item_close;
    return s;
  }
  std::string TitleLinks(int n, bool teasers) {
    std::string s;
    for (int i = 0; i < n; ++i) {
      s += "<li><a href=\"/story/" + std::to_string(r_.Below(100000)) + "\">" + w_.Title() + "</a>";
      if (teasers) s += "<p>" + w_.Sentence() + "</p>";
      s += "</li>";
    }
    return s;
  }

  std::string CookieBanner() {
    static const char* const kOpen[] = {"<div id=\"cookie-banner\">", "<div class=\"cookie-consent\">",
                                        "<div class=\"gdpr-notice fixed\">", "<div id=\"cmp-overlay\" role=\"dialog\">",
                                        "<div class=\"notice-bar\">", "<section class=\"privacy-prompt\">"};
    const std::string open = r_.Pick(kOpen);
    const std::string close = open.rfind("<section", 0) == 0 ? "</section>" : "</div>";
    return open + "<p>We use cookies and similar technologies to " + w_.Words(r_.Between(15, 35), false) +
           ".</p><button>Accept all</button><button>Manage settings</button>" + close;
  }

  std::string SiteHeader() {
    std::string logo = "<a class=\"logo\" href=\"/\">The " + w_.Words(2) + "</a>";
    if (r_.Chance(30)) logo = "<h1 class=\"site-title\">" + logo + "</h1>";
    std::string menu;
    switch (r_.Below(4)) {
      case 0: menu = "<nav><ul>" + Links(r_.Between(5, 12)) + "</ul></nav>"; break;
      case 1: menu = "<ul class=\"menu\">" + Links(r_.Between(5, 12)) + "</ul>"; break;
      case 2: menu = "<div id=\"topnav\">" + Links(r_.Between(5, 12), "", " | ") + "</div>"; break;
      default: menu = "<div class=\"links\">" + Links(r_.Between(5, 12), "<span>", "</span>") + "</div>"; break;
    }
    const std::string search = r_.Chance(50) ? "<form action=\"/search\"><input name=\"q\"><button>Search</button></form>" : "";
    return r_.Chance(60) ? "<header class=\"site-header\">" + logo + menu + search + "</header>"
                         : "<div id=\"header\">" + logo + menu + search + "</div>";
  }

  std::string Breadcrumb() {
    return "<div class=\"breadcrumb\"><a href=\"/\">Home</a> &gt; <a href=\"/news\">News</a> &gt; <a href=\"/news/local\">" +
           w_.Words(1) + "</a></div>";
  }

  std::string Byline() {
    const std::string text = std::string("By <a href=\"/author\">") + r_.Pick(kNames) + "</a>, " +
                             std::to_string(r_.Between(1, 28)) + " March " + std::to_string(r_.Between(2009, 2025));
    switch (r_.Below(3)) {
      case 0: return "<p class=\"byline\">" + text + "</p>";
      case 1: return "<div class=\"meta\"><span>" + text + "</span> <time>" + std::to_string(r_.Between(1, 12)) + ":00</time></div>";
      default: return "<div><small>" + text + "</small></div>";
    }
  }

  std::string ShareBar() {
    static const char* const kOpen[] = {"<div class=\"share\">", "<div class=\"social-buttons\">",
                                        "<ul class=\"sharing-tools\">", "<div class=\"tools\">"};
    const std::string open = r_.Pick(kOpen);
    const bool list = open.rfind("<ul", 0) == 0;
    const char* item = list ? "<li>" : "<span>";
    const char* end = list ? "</li>" : "</span>";
    std::string s = open;
    for (const char* site : {"Facebook", "Twitter", "Email", "Print", "Copy link"})
      s += std::string(item) + "<a href=\"#\">" + site + "</a>" + end;
    return s + (list ? "</ul>" : "</div>");
  }

  std::string Related() {
    static const char* const kOpen[] = {"<div class=\"related\">", "<section class=\"related-articles\">",
                                        "<aside class=\"recirc\">", "<div class=\"more-stories\">",
                                        "<div class=\"box\">", "<div id=\"read-next\">"};
    static const char* const kHeading[] = {"Related", "More stories", "Read next", "You may also like",
                                           "Most read", "More from this section"};
    const std::string open = r_.Pick(kOpen);
    const std::string tag = open.substr(1, open.find_first_of(" >") - 1);
    return open + "<h3>" + r_.Pick(kHeading) + "</h3><ul>" + TitleLinks(r_.Between(4, 12), r_.Chance(25)) +
           "</ul></" + tag + ">";
  }

  std::string Comment(int depth) {
    std::string body = "<div class=\"author\"><a href=\"/u/" + std::to_string(r_.Below(9999)) + "\">" +
                       r_.Pick(kNames) + "</a> <span class=\"date\">" + std::to_string(r_.Between(1, 59)) +
                       " minutes ago</span></div><p>" + w_.Sentences(r_.Between(1, 4)) +
                       "</p><a class=\"reply\" href=\"#\">Reply</a>";
    if (depth < 2 && r_.Chance(25)) body += "<div class=\"children\">" + Comment(depth + 1) + "</div>";
    switch (style_) {
      case 0: return "<li class=\"comment\">" + body + "</li>";
      case 1: return "<article class=\"comment\">" + body + "</article>";
      default: return "<div class=\"c-item\">" + body + "</div>";
    }
  }
  std::string Comments() {
    style_ = r_.Below(3);
    const int n = r_.Chance(20) ? r_.Between(15, 30) : r_.Between(1, 10);
    std::string items;
    for (int i = 0; i < n; ++i) items += Comment(0);
    const std::string list = style_ == 0 ? "<ol class=\"commentlist\">" + items + "</ol>" : items;
    const std::string heading = "<h3>" + std::to_string(n) + " comments</h3>";
    switch (r_.Below(5)) {
      case 0: return "<section id=\"comments\">" + heading + list + "</section>";
      case 1: return "<div class=\"comments-area\">" + heading + list + "</div>";
      case 2: return "<div id=\"disqus_thread\">" + list + "</div>";
      case 3: return "<div class=\"responses\">" + heading + list + "</div>";
      default: return "<div class=\"discussion\">" + heading + list + "</div>";
    }
  }

  std::string Sidebar() {
    std::string inner = "<h3>Trending</h3><ol>" + TitleLinks(r_.Between(4, 10), false) + "</ol>";
    if (r_.Chance(50)) inner += Newsletter();
    if (r_.Chance(50)) inner += Ad();
    switch (r_.Below(3)) {
      case 0: return "<aside class=\"sidebar\">" + inner + "</aside>";
      case 1: return "<div id=\"sidebar\">" + inner + "</div>";
      default: return "<div class=\"col-md-4\">" + inner + "</div>";
    }
  }

  std::string Newsletter() {
    return "<div class=\"newsletter\"><h4>Get the morning briefing</h4><p>" + w_.Sentence() +
           "</p><form><input type=\"email\"><button>Subscribe</button></form></div>";
  }

  std::string Ad() {
    switch (r_.Below(5)) {
      case 0: return "<div class=\"ad\">Advertisement</div>";
      case 1: return "<div class=\"ad-slot\" id=\"div-gpt-ad-" + std::to_string(r_.Below(99999)) + "\"><span>Advertisement</span></div>";
      case 2: return "<ins class=\"adsbygoogle\" style=\"display:block\"></ins>";
      case 3: return "<div class=\"sponsored\"><small>Sponsored</small><a href=\"/ad\">" + w_.Title() + "</a></div>";
      default: return "<div class=\"promo\"><a href=\"/subscribe\">Subscribe for " + w_.Words(3, false) + "</a></div>";
    }
  }

  std::string Tags() {
    return "<div class=\"tags\">Topics: " + Links(r_.Between(3, 6), "", " ") + "</div>";
  }

  std::string AuthorBox() {
    return "<div class=\"author-bio\"><p>" + std::string(r_.Pick(kNames)) + " " + w_.Sentences(r_.Between(1, 2)) +
           "</p></div>";
  }

  std::string Footer() {
    std::string inner = "<ul>" + Links(r_.Between(12, 40)) + "</ul><p>Copyright " +
                        std::to_string(r_.Between(2000, 2025)) + " The " + w_.Words(2) + ". All rights reserved.</p>";
    return r_.Chance(60) ? "<footer>" + inner + "</footer>" : "<div id=\"footer\">" + inner + "</div>";
  }

 private:
  Random& r_;
  Writer& w_;
  int style_ = 0;
};

// The story's blocks in markup: paragraphs as p elements, or as text between line breaks.
std::string BlockMarkup(const Block& b, bool line_breaks) {
  switch (b.kind) {
    case Block::kSubheading: return line_breaks ? "<b>" + b.parts[0] + "</b><br>\n" : "<h2>" + b.parts[0] + "</h2>\n";
    case Block::kList: {
      std::string s = "<ul>";
      for (const auto& item : b.parts) s += "<li>" + item + "</li>";
      return s + "</ul>\n";
    }
    case Block::kQuote: return "<blockquote>" + b.parts[0] + "</blockquote>\n";
    case Block::kFigure:
      return "<figure><img src=\"/img/" + std::to_string(b.parts[0].size()) + ".jpg\" alt=\"\"><figcaption>" +
             b.parts[0] + "</figcaption></figure>\n";
    default: return line_breaks ? b.parts[0] + "<br><br>\n" : "<p>" + b.parts[0] + "</p>\n";
  }
}

// The body, with advertisements and inline links to other stories between its blocks now and then.
std::string BodyMarkup(const Story& s, Random& r, Boxes& boxes, bool line_breaks, int interrupt_percent) {
  std::string out;
  for (std::size_t i = 0; i < s.blocks.size(); ++i) {
    out += BlockMarkup(s.blocks[i], line_breaks);
    if (i + 1 < s.blocks.size() && r.Chance(interrupt_percent))
      out += r.Chance(70) ? boxes.Ad() : "<p class=\"read-more\"><strong>Read more:</strong> <a href=\"/x\">" +
                                          std::string("Earlier story on the same subject") + "</a></p>";
  }
  return out;
}

std::string Headline(const Story& s) {
  std::string h = "<h1>" + s.headline + "</h1>";
  if (!s.standfirst.empty()) h += "<p class=\"standfirst\">" + s.standfirst + "</p>";
  return h;
}

std::string Page(const std::string& title, const std::string& body, Random& r) {
  std::string head = "<!DOCTYPE html>\n<html><head><meta charset=\"utf-8\"><title>" + title +
                     "</title><style>body{font-family:serif}</style>";
  if (r.Chance(60)) head += "<script>window.dataLayer = window.dataLayer || []; var loaded = true;</script>";
  return head + "</head>\n<body>\n" + body + "\n</body></html>\n";
}

// One family each: the page around the story.
std::string Semantic(const Story& s, Random& r, Boxes& b) {
  std::string article = "<article><header>" + Headline(s) + b.Byline() + "</header>";
  if (r.Chance(60)) article += b.ShareBar();
  article += r.Chance(50) ? "<div class=\"article-body\">" + BodyMarkup(s, r, b, false, 10) + "</div>"
                          : BodyMarkup(s, r, b, false, 10);
  if (r.Chance(50)) article += "<footer>" + b.Tags() + "</footer>";
  if (r.Chance(30)) article += b.Related();
  article += "</article>";
  std::string main = "<main>" + article;
  if (r.Chance(70)) main += b.Comments();
  main += "</main>";
  return b.SiteHeader() + main + (r.Chance(60) ? b.Sidebar() : "") + b.Footer();
}

std::string Sections(const Story& s, Random& r, Boxes& b) {
  std::string article = "<article class=\"story\">" + Headline(s) + b.Byline();
  std::string section;
  int open = 0;
  for (std::size_t i = 0; i < s.blocks.size(); ++i) {
    if (i == 0 || s.blocks[i].kind == Block::kSubheading || r.Chance(10)) {
      for (; open > 0 && (open > 1 || r.Chance(70)); --open) article += "</section>";
      article += "<section>";
      ++open;
      if (r.Chance(20)) {
        article += "<section class=\"inner\">";
        ++open;
      }
    }
    article += BlockMarkup(s.blocks[i], false);
  }
  for (; open > 0; --open) article += "</section>";
  if (r.Chance(50)) article += b.ShareBar();
  article += "</article>";
  std::string page = b.SiteHeader() + "<div class=\"layout\">" + article;
  if (r.Chance(60)) page += b.Related();
  if (r.Chance(60)) page += b.Comments();
  return page + "</div>" + b.Footer();
}

std::string DivSoup(const Story& s, Random& r, Boxes& b) {
  std::string post = "<div class=\"post\"><h1 class=\"entry-title\">" + s.headline + "</h1>";
  if (!s.standfirst.empty()) post += "<div class=\"excerpt\">" + s.standfirst + "</div>";
  post += b.Byline();
  if (r.Chance(50)) post += b.ShareBar();
  post += "<div class=\"entry-content\">" + BodyMarkup(s, r, b, false, 15) + "</div>";
  if (r.Chance(40)) post += b.AuthorBox();
  if (r.Chance(40)) post += b.Tags();
  post += "</div>";
  if (r.Chance(50)) post += b.Related();
  if (r.Chance(70)) post += b.Comments();
  return "<div id=\"wrapper\">" + b.SiteHeader() + (r.Chance(40) ? b.Breadcrumb() : "") +
         "<div class=\"container\"><div class=\"row\"><div class=\"col-md-8\">" + post + "</div>" + b.Sidebar() +
         "</div></div>" + b.Footer() + "</div>";
}

std::string PlainDivs(const Story& s, Random& r, Boxes& b) {
  std::string headline = r.Chance(50) ? "<div class=\"headline\"><b>" + s.headline + "</b></div>"
                                      : "<h2>" + s.headline + "</h2>";
  if (!s.standfirst.empty()) headline += "<div><i>" + s.standfirst + "</i></div>";
  std::string page = "<div>" + b.Links(r.Between(5, 10), "<span>", "</span> ") + "</div>";
  page += "<div>" + headline + "<div>" + BodyMarkup(s, r, b, true, 0) + "</div>";
  if (r.Chance(50)) page += "<div>" + b.Links(r.Between(4, 10), "", "<br>") + "</div>";
  page += "</div>";
  if (r.Chance(50)) page += b.Comments();
  return page + "<div>" + b.Links(r.Between(6, 20), "", " | ") + "</div>";
}

std::string Tables(const Story& s, Random& r, Boxes& b) {
  const bool fonts = r.Chance(50);
  std::string headline = fonts ? "<font size=\"5\"><b>" + s.headline + "</b></font><br>" : "<h1>" + s.headline + "</h1>";
  if (!s.standfirst.empty()) headline += "<p><i>" + s.standfirst + "</i></p>";
  std::string story = headline + BodyMarkup(s, r, b, r.Chance(40), 0);
  if (r.Chance(40)) story = "<table width=\"100%\"><tr><td>" + story + "</td></tr></table>";
  std::string page = "<table width=\"100%\"><tr><td colspan=\"3\">" + b.Links(r.Between(5, 10), "", " | ") +
                     "</td></tr><tr><td width=\"150\" valign=\"top\">" + b.Links(r.Between(8, 25), "", "<br>") +
                     "</td><td valign=\"top\">" + story;
  if (r.Chance(40)) page += "<hr>" + b.Links(r.Between(3, 8), "", "<br>");
  page += "</td>";
  if (r.Chance(60)) page += "<td width=\"160\" valign=\"top\">" + b.Ad() + b.Links(r.Between(3, 10), "", "<br>") + "</td>";
  page += "</tr><tr><td colspan=\"3\"><small>" + b.Links(r.Between(4, 12), "", " | ") +
          " Copyright 2003 All rights reserved.</small></td></tr></table>";
  return page;
}

std::string HeadingOutside(const Story& s, Random& r, Boxes& b) {
  std::string hero = "<div class=\"article-hero\">" + (r.Chance(50) ? b.Breadcrumb() : "") + Headline(s) +
                     b.Byline() + "</div>";
  std::string body = BodyMarkup(s, r, b, false, 12);
  body = r.Chance(50) ? "<article class=\"article-body\">" + body + "</article>"
                      : "<div class=\"article-body\">" + body + "</div>";
  if (r.Chance(50)) body = (r.Chance(50) ? b.ShareBar() : "") + body;
  std::string page = b.SiteHeader() + "<div class=\"page\">" + hero + "<div class=\"columns\">" + body;
  if (r.Chance(60)) page += b.Sidebar();
  page += "</div>";
  if (r.Chance(60)) page += b.Comments();
  return page + "</div>" + b.Footer();
}

std::string SplitByAds(const Story& s, Random& r, Boxes& b) {
  std::string body;
  const int per_part = r.Between(2, 4);
  std::size_t i = 0;
  while (i < s.blocks.size()) {
    body += "<div class=\"story-block\">";
    for (int k = 0; k < per_part && i < s.blocks.size(); ++k, ++i) body += BlockMarkup(s.blocks[i], false);
    body += "</div>";
    if (i < s.blocks.size()) body += r.Chance(70) ? b.Ad() : b.Related();
  }
  std::string article = "<div class=\"story\">" + Headline(s) + b.Byline() + body + "</div>";
  if (r.Chance(40)) article = "<article>" + article + "</article>";
  std::string page = b.SiteHeader() + "<div id=\"content\">" + article;
  if (r.Chance(50)) page += b.Comments();
  page += "</div>";
  if (r.Chance(50)) page += b.Sidebar();
  return page + b.Footer();
}

std::string MainOnly(const Story& s, Random& r, Boxes& b) {
  std::string main = "<main id=\"content\">" + Headline(s) + b.Byline() + BodyMarkup(s, r, b, false, 8);
  if (r.Chance(40)) main += b.Related();
  main += "</main>";
  return b.SiteHeader() + main + (r.Chance(50) ? b.Comments() : "") + b.Footer();
}

}  // namespace

std::vector<ArticlePage> MakeArticlePages(int count) {
  using Family = std::string (*)(const Story&, Random&, Boxes&);
  static const struct {
    const char* name;
    Family make;
  } kFamilies[] = {{"semantic", Semantic},     {"sections", Sections},
                   {"div-soup", DivSoup},       {"plain-divs", PlainDivs},
                   {"tables", Tables},          {"heading-outside", HeadingOutside},
                   {"split-by-ads", SplitByAds}, {"main-only", MainOnly}};
  constexpr int kFamilyCount = static_cast<int>(sizeof kFamilies / sizeof kFamilies[0]);
  std::vector<ArticlePage> pages;
  for (int i = 0; i < count; ++i) {
    Random r(static_cast<std::uint64_t>(i) + 1);
    Writer w(r);
    Boxes boxes(r, w);
    const auto& family = kFamilies[i % kFamilyCount];
    const Story story = MakeStory(r, w);
    std::string body = family.make(story, r, boxes);
    if (r.Chance(40)) body = (r.Chance(50) ? boxes.CookieBanner() + body : body + boxes.CookieBanner());
    ArticlePage page;
    page.family = family.name;
    page.url = "http://articles.test/" + std::string(family.name) + "/" + std::to_string(i) + ".html";
    page.html = Page(story.headline, body, r);
    page.story = story.Text();
    pages.push_back(std::move(page));
  }
  return pages;
}

}  // namespace ph::corpus
