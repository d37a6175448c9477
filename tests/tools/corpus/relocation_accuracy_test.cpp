// Quick Save with relocation on the generated corpus of today's sites: at least nine in ten pages
// right, and none saved with the wrong content.
#include "tools/corpus/relocation_trial.h"

#include <gtest/gtest.h>

namespace ph::corpus {
namespace {

TEST(RelocationAccuracy, NineInTenRightAndNoneWrongOnEveryTemplate) {
  for (const auto& site : MakeCorpus(30)) {
    const TrialTally t = RunTrial(site, true);
    EXPECT_EQ(t[TrialOutcome::kWrong], 0) << site.name;
    EXPECT_GE(t[TrialOutcome::kRight] * 10, t.total() * 9) << site.name << ": " << t[TrialOutcome::kRight] << " of "
                                                          << t.total();
  }
}

}  // namespace
}  // namespace ph::corpus
