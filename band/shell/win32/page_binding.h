// The pages of the browser window as the engine sees them (its MSHTML documents): top document, events, routing.
#pragma once

#include <windows.h>
#include <oaidl.h>

#include <memory>

#include "band/engine/band_ports.h"

struct IWebBrowser2;

namespace ph::band {

class PageBinding {
 public:
  virtual ~PageBinding() = default;
  virtual BrowserPort& browser() = 0;
  virtual DocumentEventsPort& events() = 0;
  // The browser whose document is read; null lets go of it.
  virtual void SetBrowser(IWebBrowser2* browser) = 0;
  // Ends every handle of the page shown so far (the browser is navigating away from it).
  virtual void Forget() = 0;
  // Hands a document's mouse event to the sink; false when the DISPID is not one of them.
  virtual bool RouteDocumentEvent(DISPID dispid, const DISPPARAMS* params, DocumentEventSink& sink) = 0;
};

// The binding over the browser's MSHTML documents, with sink as the IDispatch connected to each
// document's events.
std::unique_ptr<PageBinding> MakePageBinding(IDispatch* sink);

}  // namespace ph::band
