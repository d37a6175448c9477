// The selection engine on the generated pages, with the ports of a band that nobody watches.
#include "tools/corpus/relocation_trial.h"

#include <unistd.h>

#include <filesystem>

#include "band/engine/selection_engine.h"
#include "band/memdoc/memory_document.h"
#include "band/memdoc/memory_events.h"
#include "common/utf8.h"
#include "platform/code_page.h"
#include "platform/file_system.h"
#include "platform/memory_registry.h"
#include "platform/url.h"

namespace ph::corpus {
namespace {

struct Browser : BrowserPort {
  DocumentPtr TopDocument() override { return top; }
  DocumentPtr top;
};

struct Toolbar : ToolbarPort {
  void CheckButton(int, bool) override {}
  void EnableButton(int, bool) override {}
};

struct Timers : TimerPort {
  void Start(int id, std::uint32_t) override { started.push_back(id); }
  void Stop(int) override {}
  std::vector<int> started;
};

struct Messages : MessagePort {
  void Show(MessageOwner, const Message&) override {}
};

struct Link : ControllerLinkPort {
  void Send(const DocumentPtr&, const OutgoingContent& content) override { sent.push_back(content.text); }
  std::vector<WideString> sent;
};

// A data folder of its own for the run, removed with it.
struct DataFolder {
  std::filesystem::path path = std::filesystem::temp_directory_path() /
                               ("relocation-trial-" + std::to_string(::getpid()) + "-" + std::to_string(counter++));
  DataFolder() { std::filesystem::create_directories(path); }
  ~DataFolder() {
    std::error_code ec;
    std::filesystem::remove_all(path, ec);
  }
  static inline int counter = 0;
};

}  // namespace

TrialTally RunTrial(const CorpusSite& site, bool smart) {
  DataFolder folder;
  Browser browser;
  Toolbar toolbar;
  MemoryEvents events;
  Timers timers;
  Messages messages;
  Link link;
  MemoryRegistry registry;
  auto files = MakeSystemFileSystem(folder.path.string() + "/");
  auto urls = MakeSystemUrlPort();
  auto code_page = MakeSystemCodePage();
  SelectionEngine engine(EnginePorts{browser, toolbar, events, timers, messages, link, registry, *files, *urls, *code_page});
  engine.set_relocation_mode(smart ? RelocationMode::kSmart : RelocationMode::kPaths);
  auto fire = [&] {
    while (!timers.started.empty()) {
      const int id = timers.started.front();
      timers.started.erase(timers.started.begin());
      engine.OnTimer(id);
    }
  };

  // The first page: each region picked with a multi-selection click, then selection mode ends.
  auto first = MemoryDocument::Parse(site.pages[0].html, Utf8ToUtf16(site.pages[0].url));
  browser.top = first;
  engine.OnFineSelectionCommand();
  const ModifierSet multi = engine.settings().multi_mod;
  for (int r = 1; r <= site.regions; ++r) {
    ElementPtr element = first->ByAttribute(kRegionAttribute, std::to_string(r));
    events.Hover(element);
    events.Click(element, multi & kModShift, multi & kModCtrl, multi & kModAlt);
  }
  engine.StopSelection();

  TrialTally tally;
  for (std::size_t i = 1; i < site.pages.size(); ++i) {
    const CorpusPage& page = site.pages[i];
    browser.top = MemoryDocument::Parse(page.html, Utf8ToUtf16(page.url));
    engine.OnDocumentComplete();
    const std::size_t before = link.sent.size();
    engine.QuickSave();
    fire();
    if (link.sent.size() == before) {
      tally.Add(page.expected.empty() ? TrialOutcome::kRight : TrialOutcome::kSkipped);
    } else if (!page.expected.empty() && CollapseWhitespace(Utf16ToUtf8(link.sent.back())) == page.expected) {
      tally.Add(TrialOutcome::kRight);
    } else {
      tally.Add(TrialOutcome::kWrong);
    }
  }
  return tally;
}

}  // namespace ph::corpus
