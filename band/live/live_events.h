// The mouse events of live documents as the selection engine receives them, and the user's other signals.
#pragma once

#include <map>

#include "band/engine/band_ports.h"
#include "band/live/live_document.h"

namespace ph::live {

// What the user did on the page besides the mouse events the engine takes.
struct PageSignals {
  bool finish = false;  // the bar's Finish (or the extension's popup or shortcut)
  bool cancel = false;  // Esc, or the bar's Cancel: nothing is kept
  bool leave = false;   // the pointer left the page's content (onto the bar, or the empty space around it)
};

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
  // page is gone.
  bool Pump(Clock::time_point deadline);
  // What was signalled since the last call.
  PageSignals TakeSignals();

 private:
  struct Connection {
    std::shared_ptr<LiveDocument> document;
    DocumentEventSink* sink;
  };
  void Deliver(const FrameReport& report, bool click);

  LivePage& page_;
  std::map<std::uint32_t, Connection> connections_;
  std::uint32_t next_cookie_ = 1;
  PageSignals signals_;
};

// The engine's mouse event from a report of the page: the element under the mouse and the buttons,
// with the button numbered as the band's browser numbers it (1 left, 2 right, 4 middle).
MouseEvent MouseEventFromReport(LiveDocument& document, const Json& payload);

}  // namespace ph::live
