// Parsing of grab's command line.
#include "tools/grab/options.h"

#include <filesystem>
#include <map>

#include "controller/outputs/output_context.h"

namespace ph::grab {
namespace {

const std::map<std::string, std::int32_t> kKinds = {
    {"text", kOutputText}, {"xml", kOutputXml}, {"html", kOutputHtml},
    {"clipboard", kOutputClipboard}, {"database", kOutputDatabase}};

// The save dialog's list order: "Auto", "Text", "HTML".
const std::map<std::string, int> kPortions = {{"auto", 0}, {"text", 1}, {"html", 2}};

const std::map<std::string, Command> kCommands = {
    {"auto", Command::kAuto}, {"pick", Command::kPick}, {"paths", Command::kPaths},
    {"quick", Command::kQuick}, {"db", Command::kDbTest}, {"help", Command::kHelp}, {"select", Command::kSelect},
    {"host", Command::kHost}};

const std::map<std::string, TableDialect> kDialects = {
    {"mysql", TableDialect::kMySql}, {"access", TableDialect::kAccess}, {"sqlite", TableDialect::kSqlite}};

}  // namespace

std::optional<Options> ParseOptions(const std::vector<std::string>& args, std::string* error) {
  Options o;
  std::vector<std::string> operands;
  bool command_seen = false;
  bool dialect_seen = false;

  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    // Options that take a value accept "--name value" and "--name=value".
    std::string name = arg, value;
    bool inline_value = false;
    if (arg.rfind("--", 0) == 0 && arg.find('=') != std::string::npos) {
      name = arg.substr(0, arg.find('='));
      value = arg.substr(arg.find('=') + 1);
      inline_value = true;
    }
    auto take = [&](std::string* out) {
      if (inline_value) {
        *out = value;
        return true;
      }
      if (i + 1 >= args.size()) {
        *error = "option " + name + " needs a value";
        return false;
      }
      *out = args[++i];
      return true;
    };
    auto take_setting = [&](std::optional<std::string>* field) {
      std::string v;
      if (!take(&v)) return false;
      *field = v;
      return true;
    };

    if (name == "-h" || name == "--help") {
      o.command = Command::kHelp;
      return o;
    } else if (name == "--version") {
      o.command = Command::kVersion;
      return o;
    } else if (name == "--kind") {
      std::string v;
      if (!take(&v)) return std::nullopt;
      auto it = kKinds.find(v);
      if (it == kKinds.end()) {
        *error = "unknown --kind '" + v + "' (text, xml, html, clipboard or database)";
        return std::nullopt;
      }
      o.answer.kind = it->second;
    } else if (name == "--portion") {
      std::string v;
      if (!take(&v)) return std::nullopt;
      auto it = kPortions.find(v);
      if (it == kPortions.end()) {
        *error = "unknown --portion '" + v + "' (auto, text or html)";
        return std::nullopt;
      }
      o.answer.portion_list_index = it->second;
    } else if (name == "--to") {
      if (!take(&o.answer.target)) return std::nullopt;
      // A save dialog answers with a full path, and the stored action keeps its folder for runs
      // that may start in another one: a relative path is taken from the current folder now.
      if (!o.answer.target.empty())
        o.answer.target = std::filesystem::absolute(o.answer.target).lexically_normal().string();
    } else if (name == "--append") {
      o.answer.append = true;
    } else if (name == "--no-append") {
      o.answer.append = false;
    } else if (name == "--data-dir") {
      if (!take(&o.data_dir)) return std::nullopt;
    } else if (name == "--datetime-url") {
      o.settings.datetime_url = true;
    } else if (name == "--no-datetime-url") {
      o.settings.datetime_url = false;
    } else if (name == "--dsn") {
      if (!take_setting(&o.settings.dsn)) return std::nullopt;
    } else if (name == "--file-dsn") {
      if (!take_setting(&o.settings.file_dsn)) return std::nullopt;
    } else if (name == "--user") {
      if (!take_setting(&o.settings.user)) return std::nullopt;
    } else if (name == "--password") {
      if (!take_setting(&o.settings.password)) return std::nullopt;
    } else if (name == "--extra") {
      if (!take_setting(&o.settings.extra)) return std::nullopt;
    } else if (name == "--table") {
      if (!take_setting(&o.settings.table)) return std::nullopt;
    } else if (name == "--dialect") {
      std::string v;
      if (!take(&v)) return std::nullopt;
      auto it = kDialects.find(v);
      if (it == kDialects.end()) {
        *error = "unknown --dialect '" + v + "' (mysql, access or sqlite)";
        return std::nullopt;
      }
      o.dialect = it->second;
      dialect_seen = true;
    } else if (name == "--relocate") {
      std::string v;
      if (!take(&v)) return std::nullopt;
      if (v != "smart" && v != "paths") {
        *error = "unknown --relocate '" + v + "' (smart or paths)";
        return std::nullopt;
      }
      o.relocate_by_paths = v == "paths";
    } else if (name == "--no-progress") {
      o.progress = false;
    } else if (name == "--jobs") {
      std::string v;
      if (!take(&v)) return std::nullopt;
      const bool digits = !v.empty() && v.size() <= 3 && v.find_first_not_of("0123456789") == std::string::npos;
      o.jobs = digits ? std::stoul(v) : 0;
      if (o.jobs < 1 || o.jobs > kMaxJobs) {
        *error = "--jobs takes a number from 1 to " + std::to_string(kMaxJobs);
        return std::nullopt;
      }
    } else if (name == "--no-frames") {
      o.frames = false;
    } else if (name == "--browser") {
      o.browser = true;
    } else if (name == "--install") {
      o.install = true;
    } else if (name == "-q" || name == "--quiet") {
      o.quiet = true;
    } else if (arg.size() > 1 && arg[0] == '-') {
      *error = "unknown option " + arg;
      return std::nullopt;
    } else if (!command_seen) {
      auto it = kCommands.find(arg);
      if (it == kCommands.end()) {
        *error = "unknown command '" + arg + "' (auto, pick, paths, select, quick, db or host)";
        return std::nullopt;
      }
      o.command = it->second;
      command_seen = true;
    } else {
      operands.push_back(arg);
    }
  }

  if (!command_seen) {
    *error = "no command given (auto, pick, paths, select, quick or db)";
    return std::nullopt;
  }
  switch (o.command) {
    case Command::kAuto:
    case Command::kPaths:
    case Command::kSelect:
      if (operands.size() != 1) {
        *error = "this command takes exactly one page";
        return std::nullopt;
      }
      break;
    case Command::kPick:
      if (operands.size() < 2) {
        *error = "pick takes a page and at least one element path";
        return std::nullopt;
      }
      o.paths.assign(operands.begin() + 1, operands.end());
      operands.resize(1);
      break;
    case Command::kQuick:
      if (operands.empty()) {
        *error = "quick takes at least one page";
        return std::nullopt;
      }
      break;
    case Command::kDbTest:
      if (operands.size() != 1 || (operands[0] != "test" && operands[0] != "create-table")) {
        *error = "db takes test or create-table";
        return std::nullopt;
      }
      if (operands[0] == "create-table") o.command = Command::kDbCreateTable;
      operands.clear();
      break;
    case Command::kHost:
      // The browser names its caller: the extension's origin (Chromium), or the host manifest's path
      // and the add-on's id (Firefox).
      if (operands.size() > 2 || (o.install && !operands.empty())) {
        *error = o.install ? "host --install takes no page" : "host takes at most the caller the browser names";
        return std::nullopt;
      }
      break;
    default: break;
  }
  if (o.install && o.command != Command::kHost) {
    *error = "--install goes with host";
    return std::nullopt;
  }
  if (dialect_seen && o.command != Command::kDbCreateTable) {
    *error = "--dialect goes with db create-table";
    return std::nullopt;
  }
  if (o.browser && (o.command == Command::kDbTest || o.command == Command::kDbCreateTable)) {
    *error = "--browser goes with auto, pick, paths and quick";
    return std::nullopt;
  }
  // The browser loads a page's frames as it shows the page; grab cannot leave them out there.
  if (o.browser && !o.frames) {
    *error = "--no-frames goes with fetched pages, not with --browser";
    return std::nullopt;
  }
  o.pages = std::move(operands);

  const bool file_kind = o.answer.kind == kOutputText || o.answer.kind == kOutputXml || o.answer.kind == kOutputHtml;
  if (file_kind && o.answer.target.empty()) {
    *error = "--kind text, xml and html need --to FILE";
    return std::nullopt;
  }
  if (!file_kind && !o.answer.target.empty()) {
    *error = "--to goes with --kind text, xml or html";
    return std::nullopt;
  }
  return o;
}

std::string HelpText() {
  return R"(Usage: grab [options] COMMAND PAGE...

Keeps the parts of web pages that matter, with the selection engine and the controller's writers of
PageHarvest. A PAGE is a file or an http(s) URL; frames are loaded too.

Commands:
  auto PAGE          pick the table cell or block with the most text of its own, then save it as a
                     selection made by hand: the page's layout is learned, the region is remembered
                     for the layout, and the answer below becomes the layout's stored action
  pick PAGE PATH...  pick the regions named by element paths (as "paths" prints them), then save
  select PAGE        open the page in a Chromium window and pick its regions with the mouse, as in
                     the band's selection mode (see "Selecting in a browser" below); then save
  paths PAGE         list the candidate regions (td and div) with their element paths and word counts
  host               serve the PageHarvest extension as its native messaging host (the browser
                     starts it); host --install registers it for Chromium, Chrome and Edge
  quick PAGE...      Quick Save: find the regions remembered for each page's layout again and run
                     the layout's stored action without asking; prints saved, skipped and failed
  db test            connect to the data source of the settings (or open the Access file) and
                     say whether that worked
  db create-table    make the content table (the --table of the settings) with its id,
                     content_date, url and content columns; --dialect mysql (default), access or
                     sqlite chooses the column list the database understands

The answer the save dialog would ask for:
  --kind KIND        text, xml, html, clipboard or database
  --portion P        auto (default), text or html: which part of the content to save
  --to FILE          the file, for text, xml and html (its folder is what the layout remembers)
  --append           append to a text or XML file that exists (--no-append: replace it)

Settings, kept in the data folder between runs:
  --datetime-url     put the date, time and page address before text and HTML content
                     (--no-datetime-url turns it off)
  --dsn NAME         ODBC data source for --kind database (or --file-dsn PATH of a .dsn file)
  --user U, --password P, --extra "K=V;..."   further connection details; the password may
                     come from the environment as PAGEHARVEST_PASSWORD instead (used, not kept)
  --table NAME       the table that receives the rows (make it with its id, content_date, url and
                     content columns)

Quick Save:
  --relocate MODE    smart (default): a region whose element path fails, or leads to an element
                     unlike the one stored, is found by what it looked like (its tag, id, classes,
                     ancestors and text), or skipped when nothing matches well enough; a page whose
                     tables changed may use the stored layout of its host whose regions match best.
                     paths: by element paths and table layouts alone

Pages as a browser shows them:
  --browser          load each page in headless Chromium, let its scripts run and the page settle,
                     and work on the markup the browser then holds, frames included; one browser
                     serves all pages of the run (PAGEHARVEST_CHROMIUM names another browser program)

Selecting in a browser (select):
  The page opens in a Chromium window with a bar at its top. Move the mouse over the page: the
  table cell or block under it is highlighted. Click with the keys of the band's settings (by
  default Ctrl picks the region and ends, Shift picks it and goes on, Alt cuts it out of the
  regions picked, Ctrl+Alt takes the tables out of it). Finish on the bar, or Enter here, ends the
  selection; the content is then saved as with auto and pick, and later pages of the layout go
  with quick. Clicks do not follow links while selecting.

Fetching:
  --jobs N           at most N downloads at once (default 8): the pages quick works through,
                     the frames of a page, and the pictures and style sheets saved with HTML;
                     1 fetches one after another
  --no-frames        do not load frames: they hold empty documents (frame numbers stay the same)

Other options:
  --data-dir DIR     where layouts.dat, selections.dat, regions.dat, actions.dat and
                     settings.dat live (default: the folder of the grab program)
  --no-progress      no progress bar for several pages
  -q, --quiet        print only errors
  -h, --help         this text
  --version          the version

Exit status: 0 when everything was saved; 1 when something was not saved (quick: any page failed
or was skipped; db: the database refused); 2 for a mistake on the command line.
)";
}

}  // namespace ph::grab
