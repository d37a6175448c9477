// Parsing a page of 1,000,000 nested DIVs and a flat page of 50 MB: the nesting limit alone, then
// the whole parse into the in-memory document.
#include <benchmark/benchmark.h>

#include "band/memdoc/memory_document.h"
#include "band/html/nesting_limit.h"

namespace ph {
namespace {

std::string DeepPage() {
  std::string page = "<!DOCTYPE html><html><body>";
  for (int i = 0; i < 1000000; ++i) page += "<div>";
  page += "deep text here";
  for (int i = 0; i < 1000000; ++i) page += "</div>";
  return page + "</body></html>";
}

// A listing of items, as bench/grab/deep_page_bench.py writes it.
std::string FlatPage() {
  std::string page = "<!DOCTYPE html><html><head><title>Listing</title></head><body>\n";
  for (int n = 0; page.size() < 50u << 20; ++n) {
    const std::string id = std::to_string(n);
    page += "<div class=\"item\"><h3>Item " + id +
            "</h3><p>Words of the item, long enough to read like a listing: alpha beta gamma delta epsilon "
            "<a href=\"/item/" + id + "\">more</a></p></div>\n";
  }
  return page + "</body></html>\n";
}

const std::string& Page(bool deep) {
  static const std::string deep_page = DeepPage(), flat_page = FlatPage();
  return deep ? deep_page : flat_page;
}

void LimitNestingBench(benchmark::State& state, bool deep) {
  const std::string& page = Page(deep);
  for (auto _ : state) benchmark::DoNotOptimize(LimitNesting(page));
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * page.size()));
}
BENCHMARK_CAPTURE(LimitNestingBench, deep_1000000_divs, true)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(LimitNestingBench, flat_50_mb, false)->Unit(benchmark::kMillisecond);

void ParseBench(benchmark::State& state, bool deep) {
  const std::string& page = Page(deep);
  for (auto _ : state) benchmark::DoNotOptimize(MemoryDocument::Parse(page, u"http://bench.test/page.html"));
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * page.size()));
}
BENCHMARK_CAPTURE(ParseBench, deep_1000000_divs, true)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(ParseBench, flat_50_mb, false)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace ph
