// The mouse events of live documents as the selection engine receives them, and the bar's finish.
#pragma once

#include <map>

#include "band/cdp/live_document.h"
#include "band/engine/band_ports.h"

namespace ph::cdp {

class LiveEvents : public DocumentEventsPort {
 public:
  explicit LiveEvents(LivePage& page) : page_(page) {}

  // Listens to the document's mouse events; nothing for documents of other kinds or pages that refuse.
  std::optional<std::uint32_t> Advise(Document& document, DocumentEventSink& sink) override;
  void Unadvise(Document& document, std::uint32_t cookie) override;

  // While listening, clicks keep the page where it is (links, form buttons, new tabs), as the band
  // refuses navigation while selecting.
  void RefuseNavigation(bool refuse);

  // Hands the page's events that arrive until the deadline to the connected sinks. Of several hovers
  // in a row only the last is handed on: the engine would undo the others at once. False when the
  // tab is gone.
  bool Pump(Clock::time_point deadline);
  // Whether the bar's finish button was pressed since the last call.
  bool TakeFinish();

 private:
  struct Connection {
    std::shared_ptr<LiveDocument> document;
    DocumentEventSink* sink;
  };
  void Deliver(const PageReport& report, bool click);

  LivePage& page_;
  std::map<std::uint32_t, Connection> connections_;
  std::uint32_t next_cookie_ = 1;
  bool finish_ = false;
};

// The engine's mouse event from a report of the page: the element under the mouse and the buttons,
// with the button numbered as the band's browser numbers it (1 left, 2 right, 4 middle).
MouseEvent MouseEventFromReport(LiveDocument& document, const Json& payload);

}  // namespace ph::cdp
