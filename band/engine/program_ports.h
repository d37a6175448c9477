// The band's ports as a program without a browser window of its own fills them (grab, the native hosts).
#pragma once

#include <vector>

#include "band/engine/band_ports.h"

namespace ph {

class SelectionEngine;

// The browser window: the page the program works on now.
class ShownPage : public BrowserPort {
 public:
  DocumentPtr TopDocument() override { return document_; }
  void Set(DocumentPtr document) { document_ = std::move(document); }

 private:
  DocumentPtr document_;
};

// No toolbar to show the buttons' state on.
class NoToolbar : public ToolbarPort {
 public:
  void CheckButton(int, bool) override {}
  void EnableButton(int, bool) override {}
};

// The documents' events, passed on to the binding of the page shown now.
class RoutedEvents : public DocumentEventsPort {
 public:
  explicit RoutedEvents(DocumentEventsPort& port) : port_(&port) {}
  void Use(DocumentEventsPort& port) { port_ = &port; }
  std::optional<std::uint32_t> Advise(Document& document, DocumentEventSink& sink) override {
    return port_->Advise(document, sink);
  }
  void Unadvise(Document& document, std::uint32_t cookie) override { port_->Unadvise(document, cookie); }

 private:
  DocumentEventsPort* port_;
};

// No document's events: what the routed events reach while no page is shown.
class NoDocumentEvents : public DocumentEventsPort {
 public:
  std::optional<std::uint32_t> Advise(Document&, DocumentEventSink&) override { return std::nullopt; }
  void Unadvise(Document&, std::uint32_t) override {}
};

// Timers fire at once when asked to: there is nobody to wait for.
class ImmediateTimers : public TimerPort {
 public:
  void Start(int timer_id, std::uint32_t) override { pending_.push_back(timer_id); }
  void Stop(int timer_id) override;
  // Runs the finish of every timer started, including those that a finish starts in turn.
  void Fire(SelectionEngine& engine);

 private:
  std::vector<int> pending_;
};

}  // namespace ph
