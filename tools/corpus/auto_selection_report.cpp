// auto_selection_report: Auto Selection by each rule on the generated article pages, word by word against the story.
#include <cstdio>
#include <cstdlib>
#include <map>

#include "tools/corpus/auto_selection_trial.h"

namespace {

void Row(const char* family, const char* rule, const ph::corpus::AutoSelectionSummary& s) {
  std::printf("%-16s %-8s %6d %7.1f %% | %5.2f %5.2f %5.2f | %5.2f %5.2f %5.2f\n", family, rule, s.pages,
              s.pages ? 100.0 * s.unable / s.pages : 0.0, s.median.f1, s.median.precision, s.median.recall, s.mean.f1,
              s.mean.precision, s.mean.recall);
}

}  // namespace

int main(int argc, char** argv) {
  const int count = argc > 1 ? std::atoi(argv[1]) : 400;
  if (argc > 2 || count < 1) {
    std::fprintf(stderr, "usage: auto_selection_report [PAGES (default 400)]\n");
    return 2;
  }
  const auto pages = ph::corpus::MakeArticlePages(count);
  // Per family and rule, in the order the families come.
  std::vector<std::string> families;
  std::map<std::string, std::vector<ph::corpus::AutoSelectionOutcome>> cells, article;
  std::vector<ph::corpus::AutoSelectionOutcome> all_cells, all_article;
  for (const auto& page : pages) {
    if (!cells.count(page.family)) families.push_back(page.family);
    const auto c = ph::corpus::RunAutoSelection(page, false);
    const auto a = ph::corpus::RunAutoSelection(page, true);
    cells[page.family].push_back(c);
    article[page.family].push_back(a);
    all_cells.push_back(c);
    all_article.push_back(a);
  }
  std::printf("%-16s %-8s %6s %9s | %-17s | %-17s\n", "family", "rule", "pages", "unable", "median F1  P    R",
              "mean F1    P    R");
  for (const auto& family : families) {
    Row(family.c_str(), "cells", ph::corpus::Summarize(cells[family]));
    Row(family.c_str(), "article", ph::corpus::Summarize(article[family]));
  }
  Row("all", "cells", ph::corpus::Summarize(all_cells));
  Row("all", "article", ph::corpus::Summarize(all_article));
  return 0;
}
