// The road of a piece of content in one process: page, engine, hand-off record, intake, writer.
#include "tools/grab/grab_session.h"

#include <cstdlib>
#include <ostream>

#include "tools/grab/commands.h"
#include "tools/grab/data_folder.h"
#include "tools/grab/interruption.h"

namespace ph::grab {
namespace {

// --browser renders every page in a headless browser; select shows its page in a window.
bool StartBrowser(GrabParts& parts) {
  const bool select = parts.options.command == Command::kSelect;
  if (!parts.options.browser && !select) return true;
  const bool headless = !select || parts.options.hidden_window;
  // Without a desktop the browser would hang on its way up instead of saying why.
  if (!headless && !std::getenv("DISPLAY") && !std::getenv("WAYLAND_DISPLAY")) {
    parts.err << "grab: select shows the page in a browser window and needs a desktop: DISPLAY (or "
                 "WAYLAND_DISPLAY) is not set\n";
    return false;
  }
  std::string error;
  parts.rendering = BrowserPages::Start(&error, headless, parts.options.jobs);
  if (!parts.rendering) {
    parts.err << "grab: " << error << '\n';
    return false;
  }
  parts.loader.RenderWith(parts.rendering.get());
  return true;
}

int RunCommand(const Options& options, std::ostream& out, std::ostream& err) {
  const std::string folder = DataFolderOf(options.data_dir);
  // The data files are written silently, as the band and the controller write them: a folder they
  // cannot be written to would lose everything learned, so it is refused before any page. paths
  // only reads, and makes nothing.
  std::string error;
  if (options.command != Command::kPaths && !PrepareDataFolder(folder, &error)) {
    err << "grab: " << error << " (--data-dir or PAGEHARVEST_DATA names another)\n";
    return 1;
  }
  GrabParts parts(options, folder, out, err);
  if (!StartBrowser(parts)) return 1;
  parts.LoadStores();
  if (OdbcTableMissing(parts)) {
    RefuseMissingTable(parts);
    return 2;
  }
  switch (options.command) {
    case Command::kAuto: return RunAuto(parts);
    case Command::kPick: return RunPick(parts);
    case Command::kPaths: return RunPaths(parts);
    case Command::kQuick: return RunQuick(parts);
    case Command::kSelect: return RunSelect(parts);
    case Command::kHost: return RunHost(parts);
    case Command::kDbTest:
    case Command::kDbCreateTable: return RunDatabase(parts);
    default: return 2;
  }
}

}  // namespace

int RunGrab(const Options& options, std::ostream& out, std::ostream& err) {
  const CatchInterruptions interruptions;
  const int status = RunCommand(options, out, err);
  return Interruption() ? InterruptedStatus() : status;
}

}  // namespace ph::grab
