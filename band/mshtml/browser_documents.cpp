// The top document of a browser window, with every handle of a page ended when the page is replaced.
#include <exdisp.h>

#include "band/mshtml/html_nodes.h"

namespace ph::mshtml {

struct BrowserDocuments::State {
  win::ComPtr<IWebBrowser2> browser;
  win::ComPtr<IUnknown> shown;  // the identity of the document last handed out
  LifetimePtr lifetime = std::make_shared<HandleLifetime>();
};

BrowserDocuments::BrowserDocuments() : state_(std::make_unique<State>()) {}

BrowserDocuments::~BrowserDocuments() { Forget(); }

void BrowserDocuments::SetBrowser(IWebBrowser2* browser) {
  if (browser) browser->AddRef();
  state_->browser = win::ComPtr<IWebBrowser2>(browser);
  Forget();
}

void BrowserDocuments::Forget() {
  state_->lifetime->End();
  state_->lifetime = std::make_shared<HandleLifetime>();
  state_->shown.reset();
}

DocumentPtr BrowserDocuments::TopDocument() {
  if (!state_->browser) return nullptr;
  win::ComPtr<IDispatch> document;
  if (FAILED(state_->browser->get_Document(document.put())) || !document) return nullptr;
  auto identity = Query<IUnknown>(document);
  if (!identity) return nullptr;
  if (identity.get() != state_->shown.get()) {
    Forget();
    state_->shown = identity;
  }
  return WrapDocument(document.get(), state_->lifetime);
}

MouseEvent BrowserDocuments::EventFrom(IDispatch* event) { return MouseEventFrom(event, state_->lifetime); }

bool BrowserDocuments::Route(DISPID dispid, const DISPPARAMS* params, DocumentEventSink& sink) {
  return RouteDocumentEvent(dispid, params, sink, state_->lifetime);
}

}  // namespace ph::mshtml
