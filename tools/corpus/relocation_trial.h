// Quick Save over a generated site as a user does it: the regions picked by hand on the first page,
// Quick Save on every other, each result counted right (the expected text saved, or nothing saved
// where the page lacks the region), wrong (saved with other content) or skipped.
#pragma once

#include "tools/corpus/site_corpus.h"
#include "tools/outcome_tally.h"

namespace ph::corpus {

enum class TrialOutcome { kRight, kWrong, kSkipped, kCount };
using TrialTally = OutcomeTally<TrialOutcome>;

// smart: regions relocated where their paths fail; otherwise found by their paths alone.
TrialTally RunTrial(const CorpusSite& site, bool smart);

}  // namespace ph::corpus
