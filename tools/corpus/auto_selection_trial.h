// Auto Selection on the generated article pages: what each rule sends, measured word by word against the story.
#pragma once

#include <string>
#include <vector>

#include "tools/corpus/article_pages.h"

namespace ph::corpus {

// Word overlap of a text with the story: words are the runs between blanks, counted with their
// repeats (a word twice in both counts twice).
struct WordMatch {
  double precision = 0;  // of the words sent, the share that are the story's
  double recall = 0;     // of the story's words, the share that were sent
  double f1 = 0;
};
WordMatch MatchWords(const std::string& sent, const std::string& story);

struct AutoSelectionOutcome {
  bool unable = false;  // "Unable to auto selection": nothing sent, every figure 0
  WordMatch match;
};

// "Auto Selection" by the engine on the page (parsed in memory), with the cells rule or the article
// rule, finished by its timer as the band finishes it.
AutoSelectionOutcome RunAutoSelection(const ArticlePage& page, bool article);

// The figures of a set of outcomes.
struct AutoSelectionSummary {
  int pages = 0;
  int unable = 0;
  WordMatch median;  // of each figure on its own, over all pages ("Unable" pages count as 0)
  WordMatch mean;
};
AutoSelectionSummary Summarize(const std::vector<AutoSelectionOutcome>& outcomes);

}  // namespace ph::corpus
