// Generated pages made to look like today's sites (nested blocks that shift, boxes that come and go,
// numbered ids, stable classes), each with the text of the regions a person would pick on it.
#pragma once

#include <string>
#include <vector>

namespace ph::corpus {

// On every page the regions a person picks carry this attribute, numbered in the order of picking.
// Nothing in the engine reads it: it is how the trial picks on the first page and checks the rest.
inline constexpr char kRegionAttribute[] = "data-region";

struct CorpusPage {
  std::string url;
  std::string html;
  // The regions' text in picking order, whitespace collapsed (CollapseWhitespace); empty when the
  // page lacks a region of its layout, so that the right outcome is to save nothing.
  std::string expected;
};

// The pages of one template, all on one host; the regions are picked on the first.
struct CorpusSite {
  std::string name;
  int regions = 1;
  std::vector<CorpusPage> pages;
};

// The templates: a news article (headline and story; now and then a live blog without a story), a
// reference article whose infobox table comes and goes, a shop listing, a forum laid out in tables,
// a blog whose text block has no id or class, a magazine whose story keeps its id while the blocks
// and tables around it change, a feature whose title moves under a new parent, and a news site that
// mixes articles of three years' templates with index pages. The same pages every run.
std::vector<CorpusSite> MakeCorpus(int pages_per_site);

// Runs of whitespace (including the tabs and line breaks of rendered text) as one space, none at
// either end.
std::string CollapseWhitespace(std::string_view text);

}  // namespace ph::corpus
