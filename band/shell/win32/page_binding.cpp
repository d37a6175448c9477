// The page binding until the MSHTML documents are bound: a browser that shows no document.
#include "band/shell/win32/page_binding.h"

namespace ph::band {
namespace {

class NoPages : public PageBinding, public BrowserPort, public DocumentEventsPort {
 public:
  BrowserPort& browser() override { return *this; }
  DocumentEventsPort& events() override { return *this; }
  void SetBrowser(IWebBrowser2*) override {}
  void Forget() override {}
  bool RouteDocumentEvent(DISPID, const DISPPARAMS*, DocumentEventSink&) override { return false; }

  DocumentPtr TopDocument() override { return nullptr; }
  std::optional<std::uint32_t> Advise(Document&, DocumentEventSink&) override { return std::nullopt; }
  void Unadvise(Document&, std::uint32_t) override {}
};

}  // namespace

std::unique_ptr<PageBinding> MakePageBinding(IDispatch*) { return std::make_unique<NoPages>(); }

}  // namespace ph::band
