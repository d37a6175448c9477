// Benchmarks of the engine's page-wide work: layout lookup, the Auto Selection scan, element paths.
#include <sys/resource.h>

#include <benchmark/benchmark.h>

#include "band/engine/article_finder.h"
#include "band/engine/element_path.h"
#include "band/engine/extraction.h"
#include "band/engine/layout_store.h"
#include "band/engine/region_fingerprint.h"
#include "band/engine/relocation.h"
#include "band/engine/selection_store.h"
#include "band/memdoc/memory_document.h"
#include "bench/engine/bench_pages.h"
#include "common/le_io.h"
#include "platform/code_page.h"
#include "platform/url.h"

namespace ph {
namespace {

class HostOnly : public UrlPort {
 public:
  bool Combine(std::string_view, std::string_view, std::string*) override { return false; }
  bool DecodedPath(std::string_view, std::string*) override { return false; }
  bool Host(std::string_view, std::string* host) override {
    *host = "bench.test";
    return true;
  }
};

constexpr int kTables = 20, kRows = 100, kCells = 10;  // 20,000 cells

// 1,000 layouts of the page's host. Near: each differs from the page by one cell in its last row, so
// every comparison runs to the end (99.2) and the lowest id wins. Varied: they differ in the rows of
// their first table, as the pages of one site with other content do.
// Written as a file and loaded, as the band does: adding them one by one would merge the alike.
// Spread: each differs from the page by one cell in a row of its own, so no two are alike.
enum class Stored { kNear, kVaried, kSpread };

LayoutStore MakeStore(Stored kind) {
  ByteWriter file;
  for (int i = 0; i < 1000; ++i) {
    LayoutNode sig = kind == Stored::kNear     ? bench::TableSignature(kTables, kRows, kCells, 1)
                     : kind == Stored::kVaried ? bench::TableSignature(kTables, kRows + 1 + i % 50, kCells, 0)
                                               : bench::TableSignature(kTables, kRows, kCells, 0);
    if (kind == Stored::kSpread) {
      auto* table = const_cast<LayoutNode*>(sig.children()[i % kTables].get());
      const_cast<LayoutNode*>(table->children()[i / kTables].get())->AddChild(kLayoutCell);
    }
    file.I32(i + 1);
    file.String("bench.test");
    EncodeLayout(sig, &file);
    file.Raw("", 1);
  }
  file.U32(0);
  LayoutStore store;
  store.LoadBytes(file.bytes());
  return store;
}

void FindLayoutBench(benchmark::State& state, Stored near) {
  auto doc = MemoryDocument::Parse(bench::TablePage(kTables, kRows, kCells), u"http://bench.test/");
  LayoutStore store = MakeStore(near);
  HostOnly urls;
  Windows1252 cp;
  std::int32_t id = 0;
  for (auto _ : state) {
    id = store.FindLayout(doc, LayoutContext{urls, cp});
    benchmark::DoNotOptimize(id);
  }
  state.counters["stored"] = static_cast<double>(store.entries().size());
  state.counters["found_id"] = id;
}
// The lookup alone, with the page's signature already built.
void FindSignatureBench(benchmark::State& state, Stored kind) {
  auto doc = MemoryDocument::Parse(bench::TablePage(kTables, kRows, kCells), u"http://bench.test/");
  LayoutStore store = MakeStore(kind);
  LayoutNode signature;
  BuildLayout(doc, &signature);
  std::int32_t id = 0;
  for (auto _ : state) benchmark::DoNotOptimize(id = store.FindLayout("bench.test", signature));
  state.counters["found_id"] = id;
}
BENCHMARK_CAPTURE(FindSignatureBench, near_1000_layouts_20000_cells, Stored::kNear)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(FindSignatureBench, spread_1000_layouts_20000_cells, Stored::kSpread)->Unit(benchmark::kMillisecond);

BENCHMARK_CAPTURE(FindLayoutBench, near_1000_layouts_20000_cells, Stored::kNear)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(FindLayoutBench, varied_1000_layouts_20000_cells, Stored::kVaried)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(FindLayoutBench, spread_1000_layouts_20000_cells, Stored::kSpread)->Unit(benchmark::kMillisecond);

void AutoSelectScan(benchmark::State& state) {
  // 100 levels of 49 leaves each: 5,000 td and div elements nested 100 deep; of 999: 100,000.
  auto doc = MemoryDocument::Parse(bench::NestedPage(100, static_cast<int>(state.range(0))), u"http://bench.test/");
  const long blocks = doc->ElementsByTagName(u"td")->Length() + doc->ElementsByTagName(u"div")->Length();
  for (auto _ : state) benchmark::DoNotOptimize(FindRichestBlock(CollectDocuments(doc)));
  state.counters["td_div"] = static_cast<double>(blocks);
}
BENCHMARK(AutoSelectScan)->Arg(49)->Arg(999)->Unit(benchmark::kMillisecond);

void ArticleScan(benchmark::State& state) {
  // The article rule on the same pages: the outline, every element's names, and the sums of one walk.
  auto doc = MemoryDocument::Parse(bench::NestedPage(100, static_cast<int>(state.range(0))), u"http://bench.test/");
  for (auto _ : state) benchmark::DoNotOptimize(FindArticle(CollectDocuments(doc)));
}
BENCHMARK(ArticleScan)->Arg(49)->Arg(999)->Unit(benchmark::kMillisecond);

struct PathPage {
  std::shared_ptr<MemoryDocument> doc = MemoryDocument::Parse(bench::BlockPage(50, 10, 19), u"http://bench.test/");
  ElementPtr target = [this] {
    auto cells = doc->ElementsByTagName(u"td");
    return cells->Item(cells->Length() - 1);
  }();
  Windows1252 cp;
};

void BuildPathBench(benchmark::State& state) {
  PathPage page;
  const long elements = page.doc->ElementsByTagName(u"*")->Length();
  for (auto _ : state) benchmark::DoNotOptimize(BuildPath(page.doc, page.target, page.cp));
  state.counters["elements"] = static_cast<double>(elements);
}
BENCHMARK(BuildPathBench)->Unit(benchmark::kMicrosecond);

void ResolvePathBench(benchmark::State& state) {
  PathPage page;
  const ElementPath path = BuildPath(page.doc, page.target, page.cp);
  for (auto _ : state) benchmark::DoNotOptimize(ResolvePath(page.doc, path, page.cp));
}
BENCHMARK(ResolvePathBench)->Unit(benchmark::kMicrosecond);

// Every element of the page written down and found again: the whole of what Quick Save and a
// finished selection could ask of a page this size. Each path is built on its own, or (with
// `page_paths`) from the page's steps worked out once for all its elements.
void PathsOfEveryElement(benchmark::State& state, bool page_paths) {
  PathPage page;
  auto all = page.doc->Body()->ElementsByTagName(u"*");
  std::vector<ElementPtr> elements;
  for (long i = 0; i < all->Length(); ++i) elements.push_back(all->Item(i));
  const DocumentList docs = CollectDocuments(page.doc);
  for (auto _ : state) {
    PagePaths paths(docs, page.cp);
    for (const auto& e : elements) {
      const ElementPath path = page_paths ? paths.PathOf(e) : BuildPath(docs, e, page.cp);
      benchmark::DoNotOptimize(ResolvePath(docs, path, page.cp));
    }
  }
  state.counters["elements"] = static_cast<double>(elements.size());
}
BENCHMARK_CAPTURE(PathsOfEveryElement, one_by_one, false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(PathsOfEveryElement, page_paths, true)->Unit(benchmark::kMillisecond);


// Quick Save's relocation of 5 regions on a page of about 20,000 elements, where every stored path
// names the wrong section: each region is looked for among all the page's blocks.
void RelocateFiveRegions(benchmark::State& state) {
  Windows1252 cp;
  auto stored_page = MemoryDocument::Parse(bench::SectionsPage(1100, false), u"http://bench.test/");
  auto page = MemoryDocument::Parse(bench::SectionsPage(1100, true), u"http://bench.test/");
  const std::vector<WideString> sections = {u"sec-100", u"sec-300", u"sec-500", u"sec-700", u"sec-900"};
  std::vector<ElementPtr> picked;
  for (const auto& id : sections)
    picked.push_back(stored_page->ById(cp.ToAnsi(id))->Children()->Tags(u"div")->Item(0));
  SelectionStore store;
  store.RecordRegions(1, RegionKind::kSelected, picked, stored_page, cp);
  int found = 0;
  for (auto _ : state) {
    Relocator relocator(page, cp, true);
    std::vector<ElementPtr> out;
    store.LocateRegions(1, RegionKind::kSelected, &out, relocator);
    found = 0;  // the content blocks of the right sections
    for (std::size_t i = 0; i < out.size(); ++i) found += out[i] && out[i]->Parent()->Id() == sections[i];
    benchmark::DoNotOptimize(out);
  }
  state.counters["elements"] = static_cast<double>(page->ElementsByTagName(u"*")->Length());
  state.counters["found"] = found;
}
BENCHMARK(RelocateFiveRegions)->Unit(benchmark::kMillisecond);

double PeakResidentMegabytes() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

// The engine's whole road over a page of nested divs: the layout signature and its lookup, Auto
// Selection, the path of the deepest element and the element found again by it, the picked region's
// fingerprint, and what a finish reads out of it. The peak is that of the whole process so far.
void DeepTreeRoad(benchmark::State& state) {
  const int depth = static_cast<int>(state.range(0));
  auto doc = bench::NestedDivs(depth);
  LayoutStore store;
  HostOnly urls;
  Windows1252 cp;
  const ElementPtr deepest = doc->First("td");
  std::size_t sent = 0;
  for (auto _ : state) {
    const std::int32_t id = store.AddLayout(doc, LayoutContext{urls, cp});
    const DocumentList documents = CollectDocuments(doc);
    const ElementPtr best = FindRichestBlock(documents);
    const ElementPath path = BuildPath(documents, deepest, cp);
    const ElementPtr again = ResolvePath(documents, path, cp);
    const RegionFingerprint print = TakeFingerprint(*best, cp);
    const ElementPath best_path = BuildPath(documents, best, cp);
    OutgoingContent content;
    content.html = best->InnerHtml().value_or(WideString());
    content.text = best->InnerText().value_or(WideString());
    const HandoffFields fields = OutgoingFields(doc, content);
    sent = fields[kSelectionText].size();
    benchmark::DoNotOptimize(id);
    benchmark::DoNotOptimize(again);
    benchmark::DoNotOptimize(print);
    benchmark::DoNotOptimize(best_path);
  }
  state.counters["levels"] = depth;
  state.counters["text_units"] = static_cast<double>(sent);
  state.counters["peak_rss_MB"] = PeakResidentMegabytes();
}
BENCHMARK(DeepTreeRoad)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
}  // namespace ph
