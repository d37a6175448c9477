// grab select: one page in a browser tab, the engine's selection mode on its live documents until
// the user ends it with the mouse, the bar's button or Enter on the terminal.
#pragma once

#include <memory>

#include "band/cdp/live_events.h"
#include "band/engine/selection_engine.h"
#include "tools/grab/browser_pages.h"

namespace ph::grab {

class BrowserSelection {
 public:
  // Loads the page in a new tab and reaches its documents; null with the reason in *error.
  static std::unique_ptr<BrowserSelection> Open(BrowserPages& browser, const std::string& url, std::string* error);
  ~BrowserSelection();

  DocumentPtr top() const { return top_; }
  DocumentEventsPort& events() { return *events_; }

  enum class End {
    kFinished,  // the engine left selection mode: a click that ends, Finish, or Enter
    kClosed,    // the tab was closed or left, or the browser ended: nothing can be read any more
  };
  // Selection mode on the page, with the bar shown, until it ends. Reads the terminal (input_fd)
  // for Enter unless it is -1.
  End Run(SelectionEngine& engine, int input_fd);

 private:
  BrowserSelection() = default;

  std::unique_ptr<cdp::PageTab> tab_;
  std::shared_ptr<cdp::LivePage> page_;
  std::unique_ptr<cdp::LiveEvents> events_;
  std::shared_ptr<cdp::LiveDocument> top_;
};

// The engine's document events: those of the in-memory pages, or of a browser tab while grab
// select runs there.
class SwitchedEvents : public DocumentEventsPort {
 public:
  explicit SwitchedEvents(DocumentEventsPort& port) : port_(&port) {}
  void Use(DocumentEventsPort& port) { port_ = &port; }
  std::optional<std::uint32_t> Advise(Document& document, DocumentEventSink& sink) override {
    return port_->Advise(document, sink);
  }
  void Unadvise(Document& document, std::uint32_t cookie) override { port_->Unadvise(document, cookie); }

 private:
  DocumentEventsPort* port_;
};

// The text of the bar: what each modifier set of the settings does.
std::string BarText(const EngineSettings& settings);

}  // namespace ph::grab
