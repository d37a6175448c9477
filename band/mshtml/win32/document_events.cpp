// Connections of the band's sink to the HTMLDocumentEvents2 connection point of each document.
#include <ocidl.h>

#include "band/mshtml/win32/html_nodes.h"

namespace ph::mshtml {
namespace {

win::ComPtr<IConnectionPoint> EventsOf(Document& document) {
  auto* html = dynamic_cast<HtmlDocument*>(&document);
  win::ComPtr<IConnectionPoint> point;
  if (!html || !html->com()) return point;
  auto container = Query<IConnectionPointContainer>(win::ComPtr<IHTMLDocument2>::Share(html->com()));
  if (container) container->FindConnectionPoint(__uuidof(HTMLDocumentEvents2), point.put());
  return point;
}

}  // namespace

std::optional<std::uint32_t> DocumentEvents::Advise(Document& document, DocumentEventSink&) {
  auto* html = dynamic_cast<HtmlDocument*>(&document);
  // A page that is gone is not connected again; a sink is needed to connect at all.
  if (!sink_ || !html || !html->alive()) return std::nullopt;
  auto point = EventsOf(document);
  DWORD cookie = 0;
  if (!point || FAILED(point->Advise(sink_, &cookie))) return std::nullopt;
  return static_cast<std::uint32_t>(cookie);
}

// Undone even when the page is gone: the connection holds a reference to the sink.
void DocumentEvents::Unadvise(Document& document, std::uint32_t cookie) {
  if (auto point = EventsOf(document)) point->Unadvise(cookie);
}

}  // namespace ph::mshtml
