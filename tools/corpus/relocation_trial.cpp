// Quick Save over a generated site, on a band that nobody watches.
#include "tools/corpus/relocation_trial.h"

#include "common/utf8.h"
#include "tools/corpus/unwatched_band.h"

namespace ph::corpus {

TrialTally RunTrial(const CorpusSite& site, bool smart) {
  UnwatchedBand band("relocation-trial");
  SelectionEngine& engine = band.engine();
  engine.set_relocation_mode(smart ? RelocationMode::kSmart : RelocationMode::kPaths);

  // The first page: each region picked with a multi-selection click, then selection mode ends.
  auto first = band.Show(site.pages[0].html, site.pages[0].url);
  engine.OnFineSelectionCommand();
  const ModifierSet multi = engine.settings().multi_mod;
  for (int r = 1; r <= site.regions; ++r) {
    ElementPtr element = first->ByAttribute(kRegionAttribute, std::to_string(r));
    band.events().Hover(element);
    band.events().Click(element, multi & kModShift, multi & kModCtrl, multi & kModAlt);
  }
  engine.StopSelection();

  TrialTally tally;
  for (std::size_t i = 1; i < site.pages.size(); ++i) {
    const CorpusPage& page = site.pages[i];
    band.Show(page.html, page.url);
    engine.OnDocumentComplete();
    const std::size_t before = band.sent().size();
    engine.QuickSave();
    band.FireTimers();
    if (band.sent().size() == before) {
      tally.Add(page.expected.empty() ? TrialOutcome::kRight : TrialOutcome::kSkipped);
    } else if (!page.expected.empty() && CollapseWhitespace(Utf16ToUtf8(band.sent().back())) == page.expected) {
      tally.Add(TrialOutcome::kRight);
    } else {
      tally.Add(TrialOutcome::kWrong);
    }
  }
  return tally;
}

}  // namespace ph::corpus
