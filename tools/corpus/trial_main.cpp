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
  ph::corpus::TrialTally all_paths, all_smart;
  for (const auto& site : ph::corpus::MakeCorpus(pages)) {
    const auto by_paths = ph::corpus::RunTrial(site, false);
    const auto smart = ph::corpus::RunTrial(site, true);
    std::printf("%-20s %6d | %7d %7d %7d | %7d %7d %7d\n", site.name.c_str(), by_paths.total(), by_paths.right,
                by_paths.wrong, by_paths.skipped, smart.right, smart.wrong, smart.skipped);
    for (auto [sum, one] : {std::pair{&all_paths, by_paths}, std::pair{&all_smart, smart}}) {
      sum->right += one.right;
      sum->wrong += one.wrong;
      sum->skipped += one.skipped;
    }
  }
  auto percent = [](int n, int total) { return total ? 100.0 * n / total : 0.0; };
  std::printf("%-20s %6d | %7d %7d %7d | %7d %7d %7d\n", "all", all_paths.total(), all_paths.right, all_paths.wrong,
              all_paths.skipped, all_smart.right, all_smart.wrong, all_smart.skipped);
  std::printf("right: %.1f %% by paths, %.1f %% relocated; wrong: %d by paths, %d relocated\n",
              percent(all_paths.right, all_paths.total()), percent(all_smart.right, all_smart.total()), all_paths.wrong,
              all_smart.wrong);
  return 0;
}
