// Auto Selection's article rule on the generated article pages: "Unable to auto selection" on under
// 2 % of them, and a median word F1 of at least 0.85 against the story.
#include <gtest/gtest.h>

#include "tools/corpus/auto_selection_trial.h"

namespace ph::corpus {
namespace {

TEST(AutoSelectionAccuracy, TheArticleRuleFindsTheStory) {
  std::vector<AutoSelectionOutcome> outcomes;
  for (const auto& page : MakeArticlePages(160)) outcomes.push_back(RunAutoSelection(page, true));
  const AutoSelectionSummary s = Summarize(outcomes);
  EXPECT_LT(s.unable * 50, s.pages) << s.unable << " of " << s.pages;
  EXPECT_GE(s.median.f1, 0.85);
}

TEST(AutoSelectionAccuracy, WordsAreMatchedWithTheirRepeats) {
  const WordMatch m = MatchWords("a a b x", "a b b c");
  EXPECT_DOUBLE_EQ(m.precision, 0.5);  // a, b of a a b x
  EXPECT_DOUBLE_EQ(m.recall, 0.5);     // a, b of a b b c
  EXPECT_DOUBLE_EQ(m.f1, 0.5);
}

}  // namespace
}  // namespace ph::corpus
