// Connections of event sinks to in-memory documents, and firing mouse events through them.
#include "band/memdoc/memory_events.h"

namespace ph {

std::optional<std::uint32_t> MemoryEvents::Advise(Document& document, DocumentEventSink& sink) {
  const std::uint32_t cookie = next_cookie_++;
  connections_[cookie] = Connection{&document, &sink};
  return cookie;
}

void MemoryEvents::Unadvise(Document& document, std::uint32_t cookie) {
  auto it = connections_.find(cookie);
  // A cookie given for another document does not undo that document's connection.
  if (it != connections_.end() && it->second.document == &document) connections_.erase(it);
}

bool MemoryEvents::Connected(Document& document) const {
  for (const auto& [cookie, c] : connections_)
    if (c.document == &document) return true;
  return false;
}

bool MemoryEvents::Deliver(const MouseEvent& event, bool click) {
  if (!event.source) return false;
  DocumentPtr owner = event.source->OwnerDocument();
  std::vector<DocumentEventSink*> sinks;
  for (const auto& [cookie, c] : connections_)
    if (c.document == owner.get()) sinks.push_back(c.sink);
  // A handler may disconnect (a click that ends selection mode), so the sinks are listed first.
  for (DocumentEventSink* sink : sinks) {
    if (click) {
      sink->OnClick(event);
    } else {
      sink->OnHover(event);
    }
  }
  return !sinks.empty();
}

bool MemoryEvents::Hover(const ElementPtr& element) {
  MouseEvent event;
  event.source = element;
  return Deliver(event, false);
}

bool MemoryEvents::Click(const ElementPtr& element, bool shift, bool ctrl, bool alt, long button) {
  MouseEvent event;
  event.source = element;
  event.button = button;
  event.shift = shift;
  event.ctrl = ctrl;
  event.alt = alt;
  return Deliver(event, true);
}

}  // namespace ph
