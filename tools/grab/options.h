// The command line of grab: a command, its pages and paths, the save dialog's answer and settings.
#pragma once

#include <optional>

#include "common/base.h"
#include "controller/outputs/database_statements.h"

namespace ph::grab {

enum class Command { kAuto, kPick, kPaths, kQuick, kDbTest, kDbCreateTable, kHelp, kVersion, kSelect, kHost };

// What the user would have answered in the save dialog.
struct DialogAnswer {
  std::int32_t kind = -1;         // an OutputKind; -1 when no --kind was given
  int portion_list_index = 0;     // the dialog's list: 0 Auto, 1 Text, 2 HTML
  std::string target;             // --to: the file for the file kinds
  std::optional<bool> append;     // --append / --no-append: the dialog's check box
};

// Settings that are kept in the data folder between runs, as the controller keeps them.
struct SettingChanges {
  std::optional<bool> datetime_url;
  std::optional<std::string> dsn, file_dsn, user, password, extra, table;
  // The password from the environment: used for this run when --password is not given, not kept.
  std::optional<std::string> password_from_environment;
};

struct Options {
  Command command = Command::kHelp;
  std::vector<std::string> pages;
  std::vector<std::string> paths;  // pick: element paths in their written form
  DialogAnswer answer;
  TableDialect dialect = TableDialect::kMySql;  // db create-table
  SettingChanges settings;
  std::string data_dir;  // empty: the user's data folder (see DataFolderOf)
  // --relocate paths: Quick Save finds regions by their element paths alone; otherwise (smart) it
  // also finds them by what they looked like where a path fails.
  bool relocate_by_paths = false;
  // --auto-mode cells: Auto Selection picks the table cell or block with the most text of its own;
  // otherwise (article) the block that holds the article.
  bool auto_cells = false;
  bool progress = true;  // a progress bar on a terminal when there are several pages
  bool quiet = false;
  bool browser = false;  // pages as headless Chromium renders them, not as fetched
  // The most downloads at once: pages ahead of the one being saved, frames, pictures and style
  // sheets. 1 fetches one after another.
  std::size_t jobs = 8;
  bool frames = true;  // --no-frames: frames hold empty documents instead of their pages
  // select keeps its browser window hidden (for tests and automation, whose pages play the mouse).
  bool hidden_window = false;
  bool skip_saved = false;  // quick leaves out the pages its journal says were saved before
  // host --install: register grab as the extension's native host instead of serving it.
  bool install = false;
};

// The largest --jobs.
inline constexpr std::size_t kMaxJobs = 64;

// Parses argv (without the program name). On a mistake returns nothing and says what in *error.
std::optional<Options> ParseOptions(const std::vector<std::string>& args, std::string* error);

// The name of a command, as the command line writes it ("db test" for both of db's).
std::string CommandName(Command command);

// The text of "grab --help".
std::string HelpText();

}  // namespace ph::grab
