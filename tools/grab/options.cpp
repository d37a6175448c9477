// Parsing of grab's command line: a table of commands and a table of options.
#include "tools/grab/options.h"

#include <filesystem>
#include <map>

#include "controller/outputs/output_context.h"
#include "tools/grab/page_address.h"

namespace ph::grab {
namespace {

using Operands = std::vector<std::string>;

// Each command takes the operands after it into the options; false with the reason in *error.
bool OnePage(Operands& operands, Options*, std::string* error) {
  if (operands.size() == 1) return true;
  *error = "this command takes exactly one page";
  return false;
}

bool PageAndPaths(Operands& operands, Options* o, std::string* error) {
  if (operands.size() < 2) {
    *error = "pick takes a page and at least one element path";
    return false;
  }
  o->paths.assign(operands.begin() + 1, operands.end());
  operands.resize(1);
  return true;
}

bool Pages(Operands& operands, Options*, std::string* error) {
  if (!operands.empty()) return true;
  *error = "quick takes at least one page";
  return false;
}

bool DatabaseTask(Operands& operands, Options* o, std::string* error) {
  if (operands.size() != 1 || (operands[0] != "test" && operands[0] != "create-table")) {
    *error = "db takes test or create-table";
    return false;
  }
  if (operands[0] == "create-table") o->command = Command::kDbCreateTable;
  operands.clear();
  return true;
}

bool Nothing(Operands&, Options*, std::string*) { return true; }

// The browser names its caller: the extension's origin (Chromium), or the host manifest's path and
// the add-on's id (Firefox).
bool Caller(Operands& operands, Options*, std::string* error) {
  if (operands.size() <= 2) return true;
  *error = "host takes at most the caller the browser names";
  return false;
}

struct CommandRow {
  const char* name;
  Command command;
  bool (*operands)(Operands& operands, Options* o, std::string* error);
};

// One row a command; "unknown command" lists them in this order.
const CommandRow kCommands[] = {
    {"auto", Command::kAuto, OnePage},     {"pick", Command::kPick, PageAndPaths},
    {"select", Command::kSelect, OnePage}, {"paths", Command::kPaths, OnePage},
    {"quick", Command::kQuick, Pages},     {"db", Command::kDbTest, DatabaseTask},
    {"host", Command::kHost, Caller},      {"help", Command::kHelp, Nothing},
};

std::string CommandList() {
  std::string list;
  const std::size_t count = std::size(kCommands) - 1;  // help goes without saying
  for (std::size_t i = 0; i < count; ++i) list += (i == 0 ? "" : i + 1 == count ? " or " : ", ") + std::string(kCommands[i].name);
  return list;
}

// A value that names one of a few words; false with the words in *error otherwise.
template <typename T>
bool OneOf(const std::map<std::string, T>& words, const char* option, const std::string& value, T* out,
           std::string* error) {
  const auto it = words.find(value);
  if (it != words.end()) {
    *out = it->second;
    return true;
  }
  *error = "unknown " + std::string(option) + " '" + value + "' (";
  std::size_t i = 0;
  for (const auto& [word, meaning] : words) error->append(i++ == 0 ? "" : i == words.size() ? " or " : ", ").append(word);
  error->append(")");
  return false;
}

bool Kind(Options* o, const std::string& v, std::string* error) {
  static const std::map<std::string, std::int32_t> kinds = {{"text", kOutputText}, {"xml", kOutputXml}, {"html", kOutputHtml},
                                                            {"clipboard", kOutputClipboard}, {"database", kOutputDatabase}};
  return OneOf(kinds, "--kind", v, &o->answer.kind, error);
}

bool Portion(Options* o, const std::string& v, std::string* error) {
  // The save dialog's list order: "Auto", "Text", "HTML".
  static const std::map<std::string, int> portions = {{"auto", 0}, {"text", 1}, {"html", 2}};
  return OneOf(portions, "--portion", v, &o->answer.portion_list_index, error);
}

bool Target(Options* o, const std::string& v, std::string*) {
  // A save dialog answers with a full path, and the stored action keeps its folder for runs that
  // may start in another one: a relative path is taken from the current folder now.
  o->answer.target = v.empty() ? v : std::filesystem::absolute(v).lexically_normal().string();
  return true;
}

bool DataDir(Options* o, const std::string& v, std::string*) {
  o->data_dir = v;
  return true;
}

bool Dialect(Options* o, const std::string& v, std::string* error) {
  static const std::map<std::string, TableDialect> dialects = {
      {"mysql", TableDialect::kMySql},
      {"access", TableDialect::kAccess},
      {"sqlite", TableDialect::kSqlite},
      {"postgresql", TableDialect::kPostgreSql}};
  return OneOf(dialects, "--dialect", v, &o->dialect, error);
}

bool Relocate(Options* o, const std::string& v, std::string* error) {
  static const std::map<std::string, bool> modes = {{"smart", false}, {"paths", true}};
  return OneOf(modes, "--relocate", v, &o->relocate_by_paths, error);
}

bool AutoMode(Options* o, const std::string& v, std::string* error) {
  static const std::map<std::string, bool> modes = {{"article", false}, {"cells", true}};
  return OneOf(modes, "--auto-mode", v, &o->auto_cells, error);
}

bool Jobs(Options* o, const std::string& v, std::string* error) {
  const bool digits = !v.empty() && v.size() <= 3 && v.find_first_not_of("0123456789") == std::string::npos;
  o->jobs = digits ? std::stoul(v) : 0;
  if (o->jobs >= 1 && o->jobs <= kMaxJobs) return true;
  *error = "--jobs takes a number from 1 to " + std::to_string(kMaxJobs);
  return false;
}

// A setting kept in the data folder.
template <std::optional<std::string> SettingChanges::*field>
bool Setting(Options* o, const std::string& v, std::string*) {
  o->settings.*field = v;
  return true;
}

// A switch: the option alone sets the member.
template <bool Options::*field, bool value>
bool Switch(Options* o, const std::string&, std::string*) {
  o->*field = value;
  return true;
}

template <bool value>
bool DatetimeUrl(Options* o, const std::string&, std::string*) {
  o->settings.datetime_url = value;
  return true;
}

template <bool value>
bool Append(Options* o, const std::string&, std::string*) {
  o->answer.append = value;
  return true;
}

template <Command command>
bool Ends(Options* o, const std::string&, std::string*) {
  o->command = command;
  return true;
}

struct OptionRow {
  const char* name;
  const char* short_name;  // or null
  bool takes_value;
  bool (*apply)(Options* o, const std::string& value, std::string* error);
  bool ends = false;  // --help and --version: the rest of the line does not matter
};

const OptionRow kOptions[] = {
    {"--help", "-h", false, Ends<Command::kHelp>, true},
    {"--version", nullptr, false, Ends<Command::kVersion>, true},
    {"--kind", nullptr, true, Kind},
    {"--portion", nullptr, true, Portion},
    {"--to", nullptr, true, Target},
    {"--append", nullptr, false, Append<true>},
    {"--no-append", nullptr, false, Append<false>},
    {"--data-dir", nullptr, true, DataDir},
    {"--datetime-url", nullptr, false, DatetimeUrl<true>},
    {"--no-datetime-url", nullptr, false, DatetimeUrl<false>},
    {"--dsn", nullptr, true, Setting<&SettingChanges::dsn>},
    {"--file-dsn", nullptr, true, Setting<&SettingChanges::file_dsn>},
    {"--user", nullptr, true, Setting<&SettingChanges::user>},
    {"--password", nullptr, true, Setting<&SettingChanges::password>},
    {"--extra", nullptr, true, Setting<&SettingChanges::extra>},
    {"--table", nullptr, true, Setting<&SettingChanges::table>},
    {"--dialect", nullptr, true, Dialect},
    {"--relocate", nullptr, true, Relocate},
    {"--auto-mode", nullptr, true, AutoMode},
    {"--no-progress", nullptr, false, Switch<&Options::progress, false>},
    {"--jobs", nullptr, true, Jobs},
    {"--no-frames", nullptr, false, Switch<&Options::frames, false>},
    {"--browser", nullptr, false, Switch<&Options::browser, true>},
    {"--hidden-window", nullptr, false, Switch<&Options::hidden_window, true>},
    {"--skip-saved", nullptr, false, Switch<&Options::skip_saved, true>},
    {"--install", nullptr, false, Switch<&Options::install, true>},
    {"--quiet", "-q", false, Switch<&Options::quiet, true>},
};

const OptionRow* FindOption(const std::string& name) {
  for (const OptionRow& row : kOptions)
    if (name == row.name || (row.short_name && name == row.short_name)) return &row;
  return nullptr;
}

// The rules between options and commands, once the whole line is read.
bool Consistent(const Options& o, bool dialect_given, std::string* error) {
  const bool db = o.command == Command::kDbTest || o.command == Command::kDbCreateTable;
  const bool file_kind = o.answer.kind == kOutputText || o.answer.kind == kOutputXml || o.answer.kind == kOutputHtml;
  const std::pair<bool, const char*> rules[] = {
      {dialect_given && o.command != Command::kDbCreateTable, "--dialect goes with db create-table"},
      {o.browser && db, "--browser goes with auto, pick, paths and quick"},
      // The browser loads a page's frames as it shows the page; grab cannot leave them out there.
      {o.browser && !o.frames, "--no-frames goes with fetched pages, not with --browser"},
      {o.skip_saved && o.command != Command::kQuick, "--skip-saved goes with quick"},
      {o.install && o.command != Command::kHost, "--install goes with host"},
      {o.install && !o.pages.empty(), "host --install takes no caller"},
      {file_kind && o.answer.target.empty(), "--kind text, xml and html need --to FILE"},
      {!file_kind && !o.answer.target.empty(), "--to goes with --kind text, xml or html"},
  };
  for (const auto& [broken, text] : rules) {
    if (!broken) continue;
    *error = text;
    return false;
  }
  // What the browser passes to a host is not a page.
  for (const std::string& page : o.command == Command::kHost ? std::vector<std::string>() : o.pages) {
    if (auto mistake = PageAddressMistake(page)) {
      *error = *mistake;
      return false;
    }
  }
  return true;
}

}  // namespace

std::string CommandName(Command command) {
  if (command == Command::kDbCreateTable) return "db create-table";
  if (command == Command::kDbTest) return "db test";
  for (const CommandRow& row : kCommands)
    if (row.command == command) return row.name;
  return "grab";
}

std::optional<Options> ParseOptions(const std::vector<std::string>& args, std::string* error) {
  Options o;
  Operands operands;
  const CommandRow* command = nullptr;
  bool dialect_given = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    // Options that take a value accept "--name value" and "--name=value".
    const std::size_t equals = arg.rfind("--", 0) == 0 ? arg.find('=') : std::string::npos;
    const std::string name = arg.substr(0, equals);
    if (const OptionRow* row = FindOption(name)) {
      std::string value;
      if (equals != std::string::npos) {
        value = arg.substr(equals + 1);
      } else if (row->takes_value) {
        if (i + 1 >= args.size()) {
          *error = "option " + name + " needs a value";
          return std::nullopt;
        }
        value = args[++i];
      }
      if (!row->apply(&o, value, error)) return std::nullopt;
      if (row->ends) return o;
      dialect_given = dialect_given || row->apply == Dialect;
    } else if (arg.size() > 1 && arg[0] == '-') {
      *error = "unknown option " + arg;
      return std::nullopt;
    } else if (command) {
      operands.push_back(arg);
    } else {
      for (const CommandRow& row : kCommands)
        if (arg == row.name) command = &row;
      if (!command) {
        *error = "unknown command '" + arg + "' (" + CommandList() + ")";
        return std::nullopt;
      }
      o.command = command->command;
    }
  }
  if (!command) {
    *error = "no command given (" + CommandList() + ")";
    return std::nullopt;
  }
  if (!command->operands(operands, &o, error)) return std::nullopt;
  o.pages = std::move(operands);
  if (!Consistent(o, dialect_given, error)) return std::nullopt;
  return o;
}

}  // namespace ph::grab
