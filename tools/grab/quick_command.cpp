// grab quick: Quick Save over many pages, each downloaded ahead of its turn, counted, and named with
// the reason when it was not saved.
#include <unistd.h>

#include <deque>
#include <ostream>

#include "tools/grab/commands.h"
#include "tools/grab/interruption.h"
#include "tools/grab/page_outcome.h"
#include "tools/grab/quick_journal.h"

namespace ph::grab {
namespace {

// Quick Save of one page; what was said meanwhile is handed over in *lines.
Outcome SavePage(GrabParts& parts, PageLoader::Pending& pending, std::vector<std::string>* lines) {
  parts.user.Hold();
  std::string error;
  Outcome outcome = Outcome::kFailed;
  if (parts.OpenPage(pending, &error)) {
    parts.ResetRecords();
    parts.engine.QuickSave();
    parts.timers.Fire(parts.engine);
    outcome = OutcomeOfSend(parts);
  }
  *lines = parts.user.Release();
  if (!error.empty()) lines->insert(lines->begin(), error);
  parts.browser.Set(nullptr);
  return outcome;
}

// A saved page's messages are said as they are; a page not saved is named once, with them as why.
void Report(std::ostream& err, const std::string& page, Outcome outcome, const std::vector<std::string>& lines) {
  if (outcome == Outcome::kSaved) {
    for (const std::string& line : lines) err << "grab: " << line << '\n';
    return;
  }
  std::string reason;
  for (const std::string& line : lines) reason += (reason.empty() ? "" : "; ") + line;
  if (reason.empty()) reason = "nothing was found on it to save";
  err << "grab: not saved: " << page << ": " << reason << '\n';
}

}  // namespace

int RunQuick(GrabParts& parts) {
  const Options& o = parts.options;
  QuickJournal journal(*parts.files);
  if (o.skip_saved) journal.Read();
  Tally tally;
  std::vector<std::string> pages;
  for (const std::string& page : o.pages) {
    if (o.skip_saved && journal.SavedBefore(PageUrl(page))) {
      tally.Add(Outcome::kSavedBefore);
    } else {
      pages.push_back(page);
    }
  }
  ProgressBar bar(parts.err, static_cast<int>(o.pages.size()), o.progress && o.pages.size() > 1 && ::isatty(2));
  // The pages after the one being saved are downloaded meanwhile, at most jobs of them at a time
  // counting that one, so that however many pages there are, only a few are held.
  std::deque<PageLoader::Pending> ahead;
  std::size_t asked = 0;
  for (const std::string& page : pages) {
    // Ctrl-C: the page in hand was finished; the rest are left for --skip-saved.
    if (Interruption()) break;
    while (asked < pages.size() && ahead.size() < o.jobs) ahead.push_back(parts.loader.Begin(pages[asked++]));
    PageLoader::Pending pending = std::move(ahead.front());
    ahead.pop_front();
    std::vector<std::string> lines;
    const Outcome outcome = SavePage(parts, pending, &lines);
    // A page the signal cut off (its browser ended) is undone, not failed.
    if (Interruption() && outcome != Outcome::kSaved) break;
    bar.Finish();
    Report(parts.err, page, outcome, lines);
    if (outcome == Outcome::kSaved) journal.Note(pending.url);
    tally.Add(outcome);
    bar.Update(tally);
  }
  bar.Finish();
  parts.SaveSettings();
  if (Interruption())
    parts.err << "grab: interrupted; " << o.pages.size() - tally.total()
              << " pages not done (quick --skip-saved goes on with them)\n";
  if (!o.quiet) parts.out << "quick: " << SummaryText(tally) << '\n';
  return tally[Outcome::kSaved] + tally[Outcome::kSavedBefore] == static_cast<int>(o.pages.size()) ? 0 : 1;
}

}  // namespace ph::grab
