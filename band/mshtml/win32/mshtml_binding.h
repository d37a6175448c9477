// The browser's HTML document (MSHTML) as the engine's document port, and the mouse events of its documents.
#pragma once

#include <windows.h>
#include <oaidl.h>

#include <memory>

#include "band/engine/band_ports.h"

struct IHTMLDocument2;
struct IHTMLEventObj;
struct IWebBrowser2;

namespace ph::mshtml {

// The HTMLDocumentEvents2 events the engine listens to (onmouseover, onmouseup).
inline constexpr DISPID kDispidMouseOver = static_cast<DISPID>(0x80010008);
inline constexpr DISPID kDispidMouseUp = -607;

// Shared by every handle reached from one document (its frames, elements, collections, styles). Once it
// is ended the handles answer nothing and call no COM object any more: the page they came from is gone.
class HandleLifetime {
 public:
  bool alive() const { return alive_; }
  void End() { alive_ = false; }

 private:
  bool alive_ = true;
};
using LifetimePtr = std::shared_ptr<HandleLifetime>;

// The document behind the browser's Document property (an IDispatch) or an HTML document, as the engine's
// document; null when it is none or not HTML. Without a lifetime the handles live as long as they are held.
DocumentPtr WrapDocument(IDispatch* document, LifetimePtr lifetime = nullptr);
DocumentPtr WrapDocument(IHTMLDocument2* document, LifetimePtr lifetime = nullptr);

// The element under the mouse and the buttons and keys of an event object (IHTMLEventObj, or the IDispatch
// an event hands over as its first argument). An event without an object or a source element gives a
// MouseEvent without a source.
MouseEvent MouseEventFrom(IHTMLEventObj* event, LifetimePtr lifetime = nullptr);
MouseEvent MouseEventFrom(IDispatch* event, LifetimePtr lifetime = nullptr);

// Hands an HTMLDocumentEvents2 invocation to the engine: onmouseover to OnHover, onmouseup to OnClick,
// with the event object taken from the first argument. False for every other DISPID (the caller answers
// those itself); the sink is not called when the arguments hold no event object.
bool RouteDocumentEvent(DISPID dispid, const DISPPARAMS* params, DocumentEventSink& sink,
                        LifetimePtr lifetime = nullptr);

// The top document of one browser window, as the band's BrowserPort. When the browser shows another
// document than the one last read (it navigated), or Forget is called, every handle handed out before
// goes dead, so that no element of a page that is gone is touched. The document is read again on every
// call of TopDocument, EventFrom and Route.
class BrowserDocuments : public BrowserPort {
 public:
  BrowserDocuments();
  ~BrowserDocuments() override;
  BrowserDocuments(const BrowserDocuments&) = delete;
  BrowserDocuments& operator=(const BrowserDocuments&) = delete;

  // The browser whose Document is read (referenced until replaced; null to let go of it).
  void SetBrowser(IWebBrowser2* browser);
  DocumentPtr TopDocument() override;
  // Ends the handles handed out so far (when the site goes away). A navigation needs no call: it is seen
  // when the document is read next, and a cancelled one leaves the page, and its handles, as they were.
  void Forget();

  // As the free functions, with the handles tied to the current page.
  MouseEvent EventFrom(IDispatch* event);
  bool Route(DISPID dispid, const DISPPARAMS* params, DocumentEventSink& sink);

 private:
  void Refresh();

  struct State;
  std::unique_ptr<State> state_;
};

// Connects documents to the HTMLDocumentEvents2 connection point with the given IDispatch as the sink
// (the band object itself, whose Invoke passes the events to RouteDocumentEvent). The sink is not
// referenced by the port; the connection point references it while connected. The engine's
// DocumentEventSink argument is not used: the IDispatch stands for it.
class DocumentEvents : public DocumentEventsPort {
 public:
  explicit DocumentEvents(IDispatch* sink) : sink_(sink) {}
  std::optional<std::uint32_t> Advise(Document& document, DocumentEventSink& sink) override;
  void Unadvise(Document& document, std::uint32_t cookie) override;

 private:
  IDispatch* sink_;
};

}  // namespace ph::mshtml
