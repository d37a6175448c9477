// The page binding over the browser's MSHTML documents.
#include "band/shell/win32/page_binding.h"

#include "band/mshtml/win32/mshtml_binding.h"

namespace ph::band {
namespace {

class MshtmlPages : public PageBinding {
 public:
  explicit MshtmlPages(IDispatch* sink) : events_(sink) {}

  BrowserPort& browser() override { return documents_; }
  DocumentEventsPort& events() override { return events_; }
  void SetBrowser(IWebBrowser2* browser) override { documents_.SetBrowser(browser); }
  void Forget() override { documents_.Forget(); }
  bool RouteDocumentEvent(DISPID dispid, const DISPPARAMS* params, DocumentEventSink& sink) override {
    return documents_.Route(dispid, params, sink);
  }

 private:
  mshtml::BrowserDocuments documents_;
  mshtml::DocumentEvents events_;
};

}  // namespace

std::unique_ptr<PageBinding> MakePageBinding(IDispatch* sink) { return std::make_unique<MshtmlPages>(sink); }

}  // namespace ph::band
