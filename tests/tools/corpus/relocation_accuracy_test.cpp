// Quick Save with relocation on the generated corpus of today's sites: none saved with the wrong
// content on any template (pages of other kinds among them included), at least 19 in 20 pages right
// on each and 97 in 100 on all of them.
#include "tools/corpus/relocation_trial.h"

#include <gtest/gtest.h>

namespace ph::corpus {
namespace {

TEST(RelocationAccuracy, NineteenInTwentyRightOnEveryTemplateAndNoneWrong) {
  TrialTally all;
  for (const auto& site : MakeCorpus(30)) {
    const TrialTally t = RunTrial(site, true);
    EXPECT_EQ(t[TrialOutcome::kWrong], 0) << site.name;
    EXPECT_GE(t[TrialOutcome::kRight] * 20, t.total() * 19) << site.name << ": " << t[TrialOutcome::kRight] << " of "
                                                           << t.total();
    all += t;
  }
  EXPECT_GE(all[TrialOutcome::kRight] * 100, all.total() * 97) << all[TrialOutcome::kRight] << " of " << all.total();
}

}  // namespace
}  // namespace ph::corpus
