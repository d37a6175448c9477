// The event connection of in-memory documents, through which tests and tools fire mouse events.
#pragma once

#include <map>

#include "band/engine/band_ports.h"

namespace ph {

class MemoryEvents : public DocumentEventsPort {
 public:
  std::optional<std::uint32_t> Advise(Document& document, DocumentEventSink& sink) override;
  void Unadvise(Document& document, std::uint32_t cookie) override;

  // Deliver an event to the sinks connected to the element's document; false when none is.
  bool Hover(const ElementPtr& element);
  bool Click(const ElementPtr& element, bool shift, bool ctrl, bool alt, long button = 1);

  std::size_t connection_count() const { return connections_.size(); }
  bool Connected(Document& document) const;

 private:
  bool Deliver(const MouseEvent& event, bool click);

  struct Connection {
    Document* document;
    DocumentEventSink* sink;
  };
  std::map<std::uint32_t, Connection> connections_;
  std::uint32_t next_cookie_ = 1;
};

}  // namespace ph
