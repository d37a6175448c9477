// The text of grab --help.
#include "tools/grab/options.h"

namespace ph::grab {

namespace {

constexpr char kHelpText[] = R"(Usage: grab [options] COMMAND PAGE...

Keeps the parts of web pages that matter, with the selection engine and the controller's writers of
PageHarvest. A PAGE is a file or an http(s) URL; frames are loaded too.

Commands:
  auto PAGE          pick the block that holds the article (or, with --auto-mode cells, the table
                     cell or block with the most text of its own), then save it as a selection
                     made by hand: the page's layout is learned, the region is remembered for the
                     layout, and the answer below becomes the layout's stored action
  pick PAGE PATH...  pick the regions named by element paths (as "paths" prints them), then save
  select PAGE        open the page in a Chromium window and pick its regions with the mouse, as in
                     the band's selection mode (see "Selecting in a browser" below); then save
  paths PAGE         list the candidate regions (td, div, article, main, section) with their word
                     counts and element paths; * marks what auto picks with --auto-mode cells, and
                     + (in the column after the words) what it picks with --auto-mode article
  host               serve the PageHarvest extension as its native messaging host (the browser
                     starts it); host --install registers it for Chromium, Chrome, Edge and Firefox
  quick PAGE...      Quick Save: find the regions remembered for each page's layout again and run
                     the layout's stored action without asking; prints saved, skipped and failed,
                     and names every page not saved with the reason
  db test            connect to the data source of the settings (or open the Access file) and
                     say whether that worked
  db create-table    make the content table (the --table of the settings) with its id,
                     content_date, url and content columns; --dialect mysql (default), access,
                     sqlite or postgresql chooses the column list the database understands

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

Auto Selection:
  --auto-mode MODE   article (default): the block that holds the story with its heading, without
                     the page's menus, comments, share bars and lists of other stories.
                     cells: the table cell or block with the most text of its own, as the band
                     picks by default

Quick Save:
  --skip-saved       leave out the pages that quick saved before in this data folder (its journal,
                     quick-journal.txt): a run cut short by Ctrl-C goes on where it stopped
  --relocate MODE    smart (default): a region whose element path fails, or leads to an element
                     unlike the one stored, is found by what it looked like (its tag, id, classes,
                     ancestors and text), or skipped when nothing matches well enough; a page whose
                     tables changed may use the stored layout of its host whose regions match best.
                     paths: by element paths and table layouts alone

Pages as a browser shows them:
  --browser          load each page in headless Chromium, let its scripts run and the page settle,
                     and work on the markup the browser then holds, frames included; one browser
                     serves all pages of the run in up to --jobs tabs at once (PAGEHARVEST_CHROMIUM
                     names another browser program)

Selecting in a browser (select):
  The page opens in a Chromium window with a bar at its top. Move the mouse over the page: the
  table cell or block under it is highlighted. Click with the keys of the band's settings (by
  default Ctrl picks the region and ends, Shift picks it and goes on, Alt cuts it out of the
  regions picked, Ctrl+Alt takes the tables out of it). Finish on the bar, or Enter here, ends the
  selection; the content is then saved as with auto and pick, and later pages of the layout go
  with quick. Clicks do not follow links while selecting.
  --hidden-window    keep the browser window hidden: meant for tests and automation, whose pages
                     play the mouse themselves

Fetching:
  --jobs N           at most N downloads at once (default 8): the pages quick works through,
                     the frames of a page, and the pictures and style sheets saved with HTML;
                     with --browser, the pages loading at once in tabs; 1 fetches one after another
  --no-frames        do not load frames: they hold empty documents (frame numbers stay the same)

Other options:
  --data-dir DIR     where layouts.dat, selections.dat, regions.dat, actions.dat and
                     settings.dat live (default: $PAGEHARVEST_DATA, else $XDG_DATA_HOME/pageharvest,
                     else ~/.local/share/pageharvest); several grabs may share it at once
  --no-progress      no progress bar for several pages
  -q, --quiet        print only errors
  -h, --help         this text
  --version          the version

Ctrl-C (or SIGTERM) finishes the page in hand, prints the summary and ends grab with status 130
(143).

Exit status: 0 when everything was saved; 1 when something was not saved (quick: any page failed
or was skipped; db: the database refused); 2 for a mistake on the command line.
)";

}  // namespace

std::string HelpText() { return kHelpText; }

}  // namespace ph::grab
