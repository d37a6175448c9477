// relocation_trial: Quick Save on the generated corpus by paths and with relocation, as a table.
#include <cstdio>
#include <cstdlib>

#include "tools/corpus/relocation_trial.h"

int main(int argc, char** argv) {
  const int pages = argc > 1 ? std::atoi(argv[1]) : 30;
  if (pages < 2) {
    std::fprintf(stderr, "usage: relocation_trial [PAGES_PER_TEMPLATE (at least 2, default 30)]\n");
    return 2;
  }
  std::printf("%-20s %6s | %-23s | %-23s\n", "template", "pages", "by paths: right/wrong/skip", "relocated: right/wrong/skip");
  using ph::corpus::TrialOutcome;
  ph::corpus::TrialTally all_paths, all_smart;
  auto row = [](const char* name, const ph::corpus::TrialTally& paths, const ph::corpus::TrialTally& smart) {
    std::printf("%-20s %6d | %7d %7d %7d | %7d %7d %7d\n", name, paths.total(), paths[TrialOutcome::kRight],
                paths[TrialOutcome::kWrong], paths[TrialOutcome::kSkipped], smart[TrialOutcome::kRight],
                smart[TrialOutcome::kWrong], smart[TrialOutcome::kSkipped]);
  };
  for (const auto& site : ph::corpus::MakeCorpus(pages)) {
    const auto by_paths = ph::corpus::RunTrial(site, false);
    const auto smart = ph::corpus::RunTrial(site, true);
    row(site.name.c_str(), by_paths, smart);
    all_paths += by_paths;
    all_smart += smart;
  }
  auto percent = [](int n, int total) { return total ? 100.0 * n / total : 0.0; };
  row("all", all_paths, all_smart);
  std::printf("right: %.1f %% by paths, %.1f %% relocated; wrong: %d by paths, %d relocated\n",
              percent(all_paths[TrialOutcome::kRight], all_paths.total()),
              percent(all_smart[TrialOutcome::kRight], all_smart.total()), all_paths[TrialOutcome::kWrong],
              all_smart[TrialOutcome::kWrong]);
  return 0;
}
