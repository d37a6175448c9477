// Generated article pages with a known story, in the markup families of today's sites and of old ones.
#pragma once

#include <string>
#include <vector>

namespace ph::corpus {

struct ArticlePage {
  std::string family;  // the markup family the page was built from ("semantic", "tables", ...)
  std::string url;
  std::string html;
  // The story as a reader sees it: headline, standfirst, body paragraphs, subheadings, lists, quotes
  // and captions, words separated by blanks. Bylines, share bars, advertisements, comments, related
  // lists, menus, banners and footers are not part of it.
  std::string story;
};

// The families, each page with its own mix of boxes around the story: semantic markup (header, main,
// article, aside, footer), articles of nested sections, nested layout divs, a story in plain divs and
// line breaks, old table layouts, a headline outside the article element, a story split by
// advertisements into blocks, and a story straight in main. Cookie banners, share bars, comment
// threads, related and trending lists, sidebars, author boxes and long footers of links come and go,
// named as sites name them, or not named at all. The same pages every run.
std::vector<ArticlePage> MakeArticlePages(int count);

}  // namespace ph::corpus
