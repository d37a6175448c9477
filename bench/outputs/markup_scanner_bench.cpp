// The capture's scanner over 50 MB of plain markup, and over a page of 10,000 links made absolute.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <memory>
#include <sstream>

#include "controller/outputs/clipboard.h"
#include "controller/outputs/linked_file_capture.h"
#include "controller/outputs/markup_scanner.h"
#include "controller/outputs/output_ports.h"
#include "controller/outputs/xml_document.h"
#include "platform/clock.h"
#include "platform/code_page.h"
#include "platform/fetch.h"
#include "platform/file_system.h"
#include "platform/url.h"
#include "platform/user.h"

namespace ph {
namespace {

// Typical page markup: tags with attributes, text between them, no img/link/a references.
std::string PlainMarkup(std::size_t bytes) {
  static constexpr char kPiece[] =
      "<div class=\"story\" id=\"s1\"><p style='margin:0'>Some paragraph text with <b>bold</b> and "
      "<span title=\"a > b\">spans</span>, long enough to read like a page.</p>\r\n"
      "<table border=0 cellpadding=2><tr><td width=\"50%\">cell</td><td>other cell</td></tr></table>\r\n"
      "<input type=checkbox checked><br/><!-- a comment --></div>\r\n";
  std::string markup;
  markup.reserve(bytes + sizeof kPiece);
  while (markup.size() < bytes) markup += kPiece;
  return markup;
}

std::string LinkMarkup(int links) {
  std::string markup;
  for (int i = 0; i < links; ++i) {
    markup += "<li><a href=\"/articles/" + std::to_string(i) + "/index.html?page=2#top\" class=x>Article " +
              std::to_string(i) + "</a></li>\r\n";
  }
  return markup;
}

class Unchanged : public ReferenceRewriter {
 public:
  void Rewrite(ReferenceKind, std::string_view value, std::string* out) override { out->append(value); }
};

// The capture as the HTML writer runs it, with the machine's ports; its links need no download.
struct CapturePorts {
  SettingsRecord settings;
  std::unique_ptr<FileSystem> files = MakeSystemFileSystem();
  std::unique_ptr<UrlPort> urls = MakeSystemUrlPort();
  std::unique_ptr<Fetcher> fetcher = MakeSystemFetcher();
  MemoryClipboard clipboard;
  std::unique_ptr<XmlPort> xml = MakeSystemXmlPort();
  std::unique_ptr<Clock> clock = MakeSystemClock();
  ScriptedUser user;
  Windows1252 code_page;
  std::ostringstream diagnostics;
  OutputPorts ports{settings, *files, *urls, *fetcher, clipboard, *xml, *clock, user, code_page, diagnostics};
};

void BM_ScanWithoutReferences(benchmark::State& state) {
  const std::string markup = PlainMarkup(50u << 20);
  Unchanged rewriter;
  std::string out;
  for (auto _ : state) {
    out.clear();
    ScanMarkup(markup, rewriter, &out);
    benchmark::DoNotOptimize(out.data());
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(markup.size()));
}
BENCHMARK(BM_ScanWithoutReferences)->Unit(benchmark::kMillisecond);

void BM_CaptureTenThousandLinks(benchmark::State& state) {
  const std::string markup = LinkMarkup(10000);
  CapturePorts p;
  const std::string output = (std::filesystem::temp_directory_path() / "pageharvest-bench" / "page.htm").string();
  for (auto _ : state) {
    std::ostringstream out;
    LinkedFileCapture capture(p.ports, "http://news.example.test/section/today.html", output);
    capture.Write(markup, out);
    benchmark::DoNotOptimize(out.str().data());
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(markup.size()));
}
BENCHMARK(BM_CaptureTenThousandLinks)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace ph
