// grab select: the user picks the regions with the mouse in a browser window; the content then goes
// the way of every selection.
#include "tools/grab/commands.h"
#include "tools/grab/interruption.h"

namespace ph::grab {

int RunSelect(GrabParts& parts) {
  std::string error;
  const auto selection = BrowserSelection::Open(*parts.rendering, parts.options.pages[0], &error);
  if (!selection) {
    if (!Interruption()) parts.err << "grab: " << error << '\n';
    return 1;
  }
  parts.routed_events.Use(selection->events());
  parts.browser.Set(selection->top());
  parts.engine.OnDocumentComplete();
  parts.ResetRecords();
  if (!parts.options.quiet) parts.err << "grab: pick the regions in the browser window; Finish on its bar or Enter here ends\n";
  const live::LiveSelection::State end = selection->Run(parts.engine, 0);
  parts.rendering->EndIfInterrupted();
  // The engine lets go of the page's documents through the in-memory events from now on.
  parts.routed_events.Use(parts.events);
  parts.browser.Set(nullptr);
  if (end == live::LiveSelection::State::kClosed || end == live::LiveSelection::State::kCancelled) {
    if (!Interruption())
      parts.err << (end == live::LiveSelection::State::kClosed
                        ? "grab: the page was closed or left before the selection ended; nothing was kept\n"
                        : "grab: the selection was cancelled; nothing was kept\n");
    parts.SaveSettings();
    return 1;
  }
  if (parts.link.sends() == 0) parts.err << "grab: nothing was selected\n";
  return FinishSelection(parts);
}

}  // namespace ph::grab
