// The road of a piece of content in one process: page, engine, hand-off record, intake, writer.
#include "tools/grab/grab_session.h"

#include <unistd.h>

#include <deque>
#include <filesystem>
#include <ostream>

#include "band/engine/extraction.h"
#include "band/engine/page_text.h"
#include "band/engine/selection_engine.h"
#include "band/host/extension_identity.h"
#include "band/host/host_session.h"
#include "band/host/stdio_bytes.h"
#include "band/memdoc/memory_events.h"
#include "controller/intake/intake_processor.h"
#include "controller/outputs/database_output.h"
#include "controller/shell/program_outputs.h"
#include "controller/shell/settings.h"
#include "controller/shell/settings_pages.h"
#include "platform/code_page.h"
#include "platform/fetch.h"
#include "platform/file_system.h"
#include "platform/memory_registry.h"
#include "platform/url.h"
#include "tools/grab/browser_pages.h"
#include "tools/grab/browser_selection.h"
#include "tools/grab/console_user.h"
#include "tools/grab/grab_ports.h"
#include "tools/grab/host_command.h"
#include "tools/grab/page_loader.h"
#include "tools/grab/parsed_markup_form.h"
#include "tools/grab/path_text.h"
#include "tools/grab/progress.h"
#include "tools/grab/x11_clipboard.h"

namespace ph::grab {
namespace {

constexpr char kSettingsFile[] = "settings.dat";
constexpr std::size_t kMaxSettingsFile = 16 * 1024 * 1024;

enum class Outcome { kSaved, kSkipped, kFailed };

FetchLimits DownloadLimits(const Options& options) {
  FetchLimits limits;
  limits.parallel = options.jobs;
  return limits;
}

}  // namespace

struct GrabSession::Parts {
  Parts(const Options& o, std::ostream& out_stream, std::ostream& err_stream)
      : options(o),
        out(out_stream),
        err(err_stream),
        code_page(MakeSystemCodePage()),
        files(MakeSystemFileSystem(o.data_dir.empty() ? std::string() : std::filesystem::absolute(o.data_dir).string())),
        urls(MakeSystemUrlPort()),
        user(err),
        messages(user),
        clipboard(new X11Clipboard()),
        outputs(settings, *files, user, *code_page, std::unique_ptr<ClipboardPort>(clipboard), false,
                MakeSystemFetcher(DownloadLimits(o))),
        writers(outputs.writers(), user),
        dialog(o.answer, OutputServices{writers, outputs.suggest_name(), settings}, writers, user, err),
        intake(OutputServices{writers, outputs.suggest_name(), settings}, *files, dialog, user, *code_page,
               ModuleFolderFile(*files, "actions.dat")),
        link(intake),
        engine(EnginePorts{browser, toolbar, routed_events, timers, messages, link, registry, *files, *urls, *code_page}),
        loader(outputs.fetcher(), *urls) {
    loader.SkipFrames(!o.frames);
  }

  // Settings live in the data folder as the registry would hold them, so a run finds what the runs
  // before it were told (the database to write to, say).
  void LoadSettingsFile() {
    if (auto data = files->ReadAll(ModuleFolderFile(*files, kSettingsFile), kMaxSettingsFile))
      if (!registry.Restore(*data)) err << "grab: " << kSettingsFile << " is damaged; starting from the defaults\n";
    LoadSettings(registry, &settings);
    const SettingChanges& c = options.settings;
    if (c.datetime_url) settings.datetime_url = *c.datetime_url;
    if (c.dsn) {
      settings.dsn = *c.dsn;
      settings.use_file_dsn = 0;
    }
    if (c.file_dsn) {
      settings.file_dsn = *c.file_dsn;
      settings.use_file_dsn = 1;
    }
    if (c.user) settings.user = *c.user;
    if (c.password) {
      settings.password = *c.password;
    } else if (c.password_from_environment) {
      kept_password = settings.password;
      settings.password = *c.password_from_environment;
    }
    if (c.extra) settings.extra = *c.extra;
    if (c.table) settings.odbc_table = *c.table;
    if (c.dsn || c.file_dsn) settings.db_type = 0;
  }

  void SaveSettingsFile() {
    SettingsRecord kept = settings;
    if (kept_password) kept.password = *kept_password;
    SaveSettings(registry, kept, "");
    const std::string path = ModuleFolderFile(*files, kSettingsFile);
    if (!WriteWholeFile(*files, path, registry.Serialize()))
      err << "grab: cannot write " << path << "; the settings of this run are not kept (see --data-dir)\n";
  }

  bool OpenPage(const std::string& page) {
    PageLoader::Pending pending = loader.Begin(page);
    return OpenPage(pending);
  }

  bool OpenPage(PageLoader::Pending& pending) {
    std::string error;
    auto document = loader.Finish(pending, &error);
    if (!document) {
      err << "grab: " << error << '\n';
      return false;
    }
    browser.Set(document);
    engine.OnDocumentComplete();
    return true;
  }

  void ResetRecords() {
    writers.Reset();
    dialog.Reset();
    link.Reset();
  }

  // What became of the content of one page after the engine finished it.
  Outcome OutcomeOfSend() const {
    // A stored action that failed leaves the question unanswered as well; the page failed.
    const bool write_failed = writers.writes() > 0 && !writers.last_saved();
    if (!write_failed && (link.sends() == 0 || dialog.unanswered())) return Outcome::kSkipped;
    if (!write_failed && writers.writes() > 0) return Outcome::kSaved;
    // The clipboard writer fails silently when it cannot open the clipboard; here, where that means
    // there is no desktop at all, the user is told.
    if (clipboard->unavailable())
      err << "grab: there is no clipboard to put the content on (no X display: DISPLAY is not set or "
             "cannot be reached)\n";
    return Outcome::kFailed;
  }

  int Finish() {
    SaveSettingsFile();
    return OutcomeOfSend() == Outcome::kSaved ? 0 : 1;
  }

  int RunAuto() {
    if (!OpenPage(options.pages[0])) return 1;
    ResetRecords();
    engine.AutoSelect();
    timers.Fire(engine);
    return Finish();
  }

  int RunPick() {
    if (!OpenPage(options.pages[0])) return 1;
    const DocumentPtr top = browser.TopDocument();
    std::vector<ElementPtr> picks;
    for (const std::string& text : options.paths) {
      const auto path = PathFromText(text);
      ElementPtr element = path ? ResolvePath(top, *path, *code_page) : nullptr;
      if (!element) {
        err << "grab: no element at " << text << " (grab paths " << options.pages[0] << " lists them)\n";
        return 1;
      }
      picks.push_back(std::move(element));
    }
    ResetRecords();
    // The regions are picked as a user picks them: fine selection on, the mouse over each and a
    // multi-selection click on it, then the end of selection mode.
    engine.OnFineSelectionCommand();
    const ModifierSet multi = engine.settings().multi_mod;
    for (const ElementPtr& element : picks) {
      events.Hover(element);
      events.Click(element, multi & kModShift, multi & kModCtrl, multi & kModAlt);
    }
    engine.StopSelection();
    return Finish();
  }

  int RunPaths() {
    if (!OpenPage(options.pages[0])) return 1;
    const DocumentList documents = CollectDocuments(browser.TopDocument());
    const ElementPtr richest = FindRichestBlock(documents);
    PagePaths paths(documents, *code_page);
    for (const char* tag : {"td", "div"}) {
      for (const DocumentPtr& document : documents) {
        // Every element's words in one walk of the document: reading each one's text would read a
        // deep page again for every level.
        const DocumentOutline outline = document->Outline(true);
        const std::vector<bool> named = outline.TagsNamed(tag);
        std::vector<std::int64_t> words_of;
        for (const auto& entry : outline.entries)
          if (named[entry.tag]) words_of.push_back(entry.words < 0 ? 0 : entry.words);
        const CollectionPtr all = document->ElementsByTagName(WidenAscii(tag));
        for (long i = 0; all && i < all->Length(); ++i) {
          const ElementPtr element = all->Item(i);
          if (!element) continue;
          const std::int64_t words = static_cast<std::size_t>(i) < words_of.size() ? words_of[i] : 0;
          // Source indices count within one document, so the document must match as well.
          const bool best = richest && richest->OwnerDocument() == element->OwnerDocument() &&
                            SameElement(*richest, *element);
          out << (best ? "* " : "  ") << words << '\t' << PathToText(paths.PathOf(element)) << '\n';
        }
      }
    }
    return 0;
  }

  // "db test" and "db create-table" on the database of the settings, as the configuration pages
  // run them; the message goes to standard error.
  int RunDatabase() {
    Message message;
    if (settings.db_type == kDatabaseAccess) {
      const std::unique_ptr<AccessEngine> engine = MakeAccessEngine();
      const AccessPageValues page = AccessPageFromSettings(settings);
      message = options.command == Command::kDbTest ? TestAccessFile(*engine, page) : CreateAccessTable(*engine, page);
    } else {
      const std::unique_ptr<Database> odbc = MakeOdbcDatabase(DriverPrompt::kNever);
      const OdbcPageValues page = OdbcPageFromSettings(settings);
      message = options.command == Command::kDbTest ? TestOdbcConnection(*odbc, page)
                                                    : CreateOdbcTable(*odbc, page, options.dialect);
    }
    const bool failed = message.icon == MessageIcon::kError;
    if (failed || !options.quiet) user.Show(message);
    SaveSettingsFile();
    return failed ? 1 : 0;
  }

  // grab select: the user picks the regions with the mouse in a browser window; the content then goes
  // the way of every selection.
  int RunSelect() {
    std::string error;
    const auto selection = BrowserSelection::Open(*rendering, options.pages[0], &error);
    if (!selection) {
      err << "grab: " << error << '\n';
      return 1;
    }
    routed_events.Use(selection->events());
    browser.Set(selection->top());
    engine.OnDocumentComplete();
    ResetRecords();
    if (!options.quiet) err << "grab: pick the regions in the browser window; Finish on its bar or Enter here ends\n";
    const live::LiveSelection::State end = selection->Run(engine, 0);
    rendering->EndIfInterrupted();
    // The engine lets go of the page's documents through the in-memory events from now on.
    routed_events.Use(events);
    browser.Set(nullptr);
    if (end == live::LiveSelection::State::kClosed) {
      err << "grab: the page was closed or left before the selection ended; nothing was kept\n";
      SaveSettingsFile();
      return 1;
    }
    if (end == live::LiveSelection::State::kCancelled) {
      err << "grab: the selection was cancelled; nothing was kept\n";
      SaveSettingsFile();
      return 1;
    }
    if (link.sends() == 0) err << "grab: nothing was selected\n";
    return Finish();
  }

  // What became of a selection the extension's host finished, for the extension to show.
  class Delivery : public host::DeliveryPort {
   public:
    explicit Delivery(Parts& parts) : parts_(parts) {}
    void Reset() override { parts_.ResetRecords(); }
    host::Delivery Result() override {
      switch (parts_.OutcomeOfSend()) {
        case Outcome::kSaved: return {"saved", "Saved " + Where()};
        case Outcome::kSkipped: return {"skipped", "Nothing was saved."};
        case Outcome::kFailed: break;
      }
      return {"failed", "The content could not be saved."};
    }

   private:
    std::string Where() const {
      switch (parts_.writers.last_kind()) {
        case kOutputClipboard: return "on the clipboard.";
        case kOutputDatabase: return "in the database table.";
        default: return "to " + parts_.writers.last_path() + ".";
      }
    }
    Parts& parts_;
  };

  // grab host: the browser starts it for the extension; one command on one tab per connection.
  int RunHost() {
    if (options.install) return InstallHost(options, out, err);
    if (!host::CallerIsExtension(options.pages)) {
      err << "grab: host serves the PageHarvest extension only, which the browser names as "
          << host::kExtensionOrigin << "\n";
      return 1;
    }
    host::StdioBytes bytes;
    host::MessageStream stream(bytes);
    host::NativeChannel channel(stream);
    user.set_echo([&](const Message& message) { channel.Tell(host::MessageToShow(message)); });
    dialog.set_asker([&](const IntakeItem& item, const std::string& suggested) {
      return AskSavePanel(channel, item, suggested);
    });
    ParsedMarkupForm form;
    Delivery delivery(*this);
    host::HostSession session({engine, browser, routed_events, timers, form, delivery}, channel);
    const int status = session.Run();
    user.set_echo(nullptr);
    dialog.set_asker(nullptr);
    SaveSettingsFile();
    return status;
  }

  int RunQuick() {
    Tally tally;
    ProgressBar bar(err, static_cast<int>(options.pages.size()),
                    options.progress && options.pages.size() > 1 && ::isatty(2));
    // The pages after the one being saved are downloaded meanwhile, at most jobs of them at a time
    // counting that one, so that however many pages there are, only a few are held.
    std::deque<PageLoader::Pending> ahead;
    std::size_t asked = 0;
    for (const std::string& page : options.pages) {
      while (asked < options.pages.size() && ahead.size() < options.jobs) ahead.push_back(loader.Begin(options.pages[asked++]));
      PageLoader::Pending pending = std::move(ahead.front());
      ahead.pop_front();
      Outcome outcome = Outcome::kFailed;
      if (OpenPage(pending)) {
        ResetRecords();
        engine.QuickSave();
        timers.Fire(engine);
        outcome = OutcomeOfSend();
      }
      switch (outcome) {
        case Outcome::kSaved: ++tally.saved; break;
        case Outcome::kSkipped: ++tally.skipped; break;
        case Outcome::kFailed:
          ++tally.failed;
          err << "grab: not saved: " << page << '\n';
          break;
      }
      browser.Set(nullptr);
      bar.Update(tally);
    }
    bar.Finish();
    SaveSettingsFile();
    if (!options.quiet) out << "quick: " << SummaryText(tally) << '\n';
    return tally.saved == tally.done() ? 0 : 1;
  }

  const Options& options;
  std::ostream& out;
  std::ostream& err;
  std::unique_ptr<CodePage> code_page;
  std::unique_ptr<FileSystem> files;
  std::unique_ptr<UrlPort> urls;
  MemoryRegistry registry;
  SettingsRecord settings;
  std::optional<std::string> kept_password;  // the stored password, while the environment's is used
  ConsoleUser user;
  ConsoleMessages messages;
  X11Clipboard* clipboard;  // owned by outputs
  ProgramOutputs outputs;
  RecordingWriters writers;
  CommandLineDialog dialog;
  IntakeProcessor intake;
  IntakeLink link;
  CurrentPage browser;
  NoToolbar toolbar;
  MemoryEvents events;
  RoutedEvents routed_events{events};
  ImmediateTimers timers;
  SelectionEngine engine;
  PageLoader loader;
  std::unique_ptr<BrowserPages> rendering;  // grab --browser: ended before the loader that uses it
};

GrabSession::GrabSession(const Options& options, std::ostream& out, std::ostream& err)
    : parts_(std::make_unique<Parts>(options, out, err)) {}

GrabSession::~GrabSession() = default;

int GrabSession::Run() {
  Parts& p = *parts_;
  // The data files are written silently, as the band and the controller write them, so a missing
  // data folder would lose every layout learned; it is made first.
  if (!p.options.data_dir.empty()) {
    std::error_code ec;
    std::filesystem::create_directories(p.options.data_dir, ec);
    if (ec) {
      p.err << "grab: cannot make the data folder " << p.options.data_dir << ": " << ec.message() << '\n';
      return 1;
    }
  }
  const bool select = p.options.command == Command::kSelect;
  if (p.options.browser || select) {
    std::string error;
    // select shows its window, unless the tests ask for none.
    const char* hidden = std::getenv("PAGEHARVEST_CHROMIUM_HEADLESS");
    const bool headless = !select || (hidden && *hidden == '1');
    // Without a desktop the browser would hang on its way up instead of saying why.
    if (!headless && !std::getenv("DISPLAY") && !std::getenv("WAYLAND_DISPLAY")) {
      p.err << "grab: select shows the page in a browser window and needs a desktop: DISPLAY (or "
               "WAYLAND_DISPLAY) is not set\n";
      return 1;
    }
    p.rendering = BrowserPages::Start(&error, headless);
    if (!p.rendering) {
      p.err << "grab: " << error << '\n';
      return 1;
    }
    p.loader.RenderWith(p.rendering.get());
  }
  p.LoadSettingsFile();
  p.engine.set_relocation_mode(p.options.relocate_by_paths ? RelocationMode::kPaths : RelocationMode::kSmart);
  p.engine.LoadStores();
  p.intake.LoadActions();
  switch (p.options.command) {
    case Command::kAuto: return p.RunAuto();
    case Command::kPick: return p.RunPick();
    case Command::kPaths: return p.RunPaths();
    case Command::kQuick: return p.RunQuick();
    case Command::kSelect: return p.RunSelect();
    case Command::kHost: return p.RunHost();
    case Command::kDbTest:
    case Command::kDbCreateTable: return p.RunDatabase();
    default: return 2;
  }
}

}  // namespace ph::grab
