// grab select: one page in a browser tab, the engine's selection mode on its live documents until
// the user ends it with the mouse, the bar's button or Enter on the terminal.
#pragma once

#include <memory>

#include "band/cdp/posix/tab_channel.h"
#include "band/engine/selection_engine.h"
#include "band/live/live_selection.h"
#include "tools/grab/browser_pages.h"
#include "tools/grab/parsed_markup_form.h"

namespace ph::grab {

class BrowserSelection {
 public:
  // Loads the page in a new tab and reaches its documents; null with the reason in *error.
  static std::unique_ptr<BrowserSelection> Open(BrowserPages& browser, const std::string& url, std::string* error);
  ~BrowserSelection();

  DocumentPtr top() const { return top_; }
  DocumentEventsPort& events() { return *events_; }

  // Selection mode on the page, with the bar shown, until it ends. Reads the terminal (input_fd)
  // for Enter unless it is -1.
  live::LiveSelection::State Run(SelectionEngine& engine, int input_fd);

 private:
  BrowserSelection() = default;

  std::unique_ptr<cdp::PageTab> tab_;
  std::unique_ptr<cdp::TabChannel> channel_;
  ParsedMarkupForm form_;
  std::shared_ptr<live::LivePage> page_;
  std::unique_ptr<live::LiveEvents> events_;
  std::shared_ptr<live::LiveDocument> top_;
};

}  // namespace ph::grab
