// grab auto and grab pick: a selection made on one page, as the band's Auto Selection and a user's clicks make it.
#include "band/engine/extraction.h"
#include "tools/grab/commands.h"
#include "tools/grab/page_outcome.h"
#include "tools/grab/path_text.h"

namespace ph::grab {

bool OpenFirstPage(GrabParts& parts) {
  PageLoader::Pending pending = parts.loader.Begin(parts.options.pages[0]);
  std::string error;
  if (parts.OpenPage(pending, &error)) return true;
  parts.err << "grab: " << error << '\n';
  return false;
}

int FinishSelection(GrabParts& parts) {
  parts.SaveSettings();
  const Outcome outcome = OutcomeOfSend(parts);
  if (outcome != Outcome::kSaved) return 1;
  if (!parts.options.quiet) parts.out << CommandName(parts.options.command) << ": saved to " << parts.writers.target() << '\n';
  return 0;
}

int RunAuto(GrabParts& parts) {
  if (!OpenFirstPage(parts)) return 1;
  parts.ResetRecords();
  parts.engine.AutoSelect();
  parts.timers.Fire(parts.engine);
  return FinishSelection(parts);
}

int RunPick(GrabParts& parts) {
  if (!OpenFirstPage(parts)) return 1;
  const DocumentPtr top = parts.browser.TopDocument();
  std::vector<ElementPtr> picks;
  for (const std::string& text : parts.options.paths) {
    const auto path = PathFromText(text);
    ElementPtr element = path ? ResolvePath(top, *path, *parts.code_page) : nullptr;
    if (!element) {
      parts.err << "grab: no element at " << text << " (grab paths " << parts.options.pages[0] << " lists them)\n";
      return 1;
    }
    picks.push_back(std::move(element));
  }
  parts.ResetRecords();
  // The regions are picked as a user picks them: fine selection on, the mouse over each and a
  // multi-selection click on it, then the end of selection mode.
  parts.engine.OnFineSelectionCommand();
  const ModifierSet multi = parts.engine.settings().multi_mod;
  for (const ElementPtr& element : picks) {
    parts.events.Hover(element);
    parts.events.Click(element, multi & kModShift, multi & kModCtrl, multi & kModAlt);
  }
  parts.engine.StopSelection();
  return FinishSelection(parts);
}

}  // namespace ph::grab
