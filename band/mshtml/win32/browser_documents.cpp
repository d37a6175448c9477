// The top document of a browser window, with every handle of a page ended when the page is replaced.
#include <exdisp.h>

#include "band/mshtml/win32/html_nodes.h"

namespace ph::mshtml {

struct BrowserDocuments::State {
  win::ComPtr<IWebBrowser2> browser;
  win::ComPtr<IUnknown> shown;      // the identity of the document last read
  win::ComPtr<IDispatch> current;   // and the document itself
  LifetimePtr lifetime = std::make_shared<HandleLifetime>();
};

BrowserDocuments::BrowserDocuments() : state_(std::make_unique<State>()) {}

BrowserDocuments::~BrowserDocuments() { Forget(); }

void BrowserDocuments::SetBrowser(IWebBrowser2* browser) {
  state_->browser = win::ComPtr<IWebBrowser2>::Share(browser);
  Forget();
}

void BrowserDocuments::Forget() {
  state_->lifetime->End();
  state_->lifetime = std::make_shared<HandleLifetime>();
  state_->shown.reset();
  state_->current.reset();
}

// Reads the browser's document; the handles of the page shown before end when it is another one.
void BrowserDocuments::Refresh() {
  win::ComPtr<IDispatch> document;
  if (!state_->browser || FAILED(state_->browser->get_Document(document.put()))) document.reset();
  auto identity = Query<IUnknown>(document);
  if (identity.get() != state_->shown.get()) {
    Forget();
    state_->shown = identity;
  }
  state_->current = std::move(document);
}

DocumentPtr BrowserDocuments::TopDocument() {
  Refresh();
  return WrapDocument(state_->current.get(), state_->lifetime);
}

MouseEvent BrowserDocuments::EventFrom(IDispatch* event) {
  Refresh();
  return MouseEventFrom(event, state_->lifetime);
}

// An event may be the first news of a new page: elements of the old one are not touched in handling it.
bool BrowserDocuments::Route(DISPID dispid, const DISPPARAMS* params, DocumentEventSink& sink) {
  Refresh();
  return RouteDocumentEvent(dispid, params, sink, state_->lifetime);
}

}  // namespace ph::mshtml
