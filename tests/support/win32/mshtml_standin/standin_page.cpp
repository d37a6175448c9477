// A stand-in page: its top document and browser, its faults, its events fired at the connected sinks.
#include <mshtmdid.h>

#include "tests/support/win32/mshtml_standin/standin_objects.h"

namespace ph::test::standin {
namespace {

class SinkObject : public ComObject<IDispatchStubs> {
 public:
  explicit SinkObject(std::function<void(DISPID, DISPPARAMS*)> on_invoke) : on_invoke_(std::move(on_invoke)) {}
  HRESULT STDMETHODCALLTYPE Invoke(DISPID dispid, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT*, EXCEPINFO*, UINT*) override {
    try {
      on_invoke_(dispid, params);
      return S_OK;
    } catch (...) {
      return E_UNEXPECTED;  // nothing thrown by the handler crosses into the caller
    }
  }

 protected:
  void* Find(REFIID iid) override {
    return iid == IID_IUnknown || iid == IID_IDispatch || iid == __uuidof(HTMLDocumentEvents2) ? static_cast<IDispatch*>(this)
                                                                                               : nullptr;
  }

 private:
  std::function<void(DISPID, DISPPARAMS*)> on_invoke_;
};

}  // namespace

Page::Page(DocumentPtr top) : state_(std::make_shared<PageState>()), top_document_(top.get()), top_(MakeDocument(state_, top)) {}

Page::~Page() = default;

win::ComPtr<IHTMLDocument2> Page::Document() { return top_; }

win::ComPtr<IWebBrowser2> Page::Browser() { return MakeBrowser(top_, false); }

Faults& Page::faults(const ph::Document& document) { return state_->of(&document).faults; }

int Page::FireMouseOver(const ElementPtr& element) {
  return Fire(DISPID_HTMLDOCUMENTEVENTS2_ONMOUSEOVER, element, false, false, false, 0);
}

int Page::FireMouseUp(const ElementPtr& element, bool shift, bool ctrl, bool alt, long button) {
  return Fire(DISPID_HTMLDOCUMENTEVENTS2_ONMOUSEUP, element, shift, ctrl, alt, button);
}

int Page::Fire(DISPID dispid, const ElementPtr& element, bool shift, bool ctrl, bool alt, long button) {
  const ph::Document* owner = element ? element->OwnerDocument().get() : top_document_;
  auto it = state_->documents.find(owner);
  if (it == state_->documents.end()) return 0;
  // A sink may disconnect while it handles the event, so the sinks are taken first.
  std::vector<win::ComPtr<IDispatch>> sinks;
  for (const auto& [cookie, sink] : it->second.sinks) sinks.push_back(sink);
  win::ComPtr<IHTMLEventObj> event = MakeEvent(state_, element, button, shift, ctrl, alt);
  for (const auto& sink : sinks) {
    VARIANT argument;
    ::VariantInit(&argument);
    V_VT(&argument) = VT_DISPATCH;
    V_DISPATCH(&argument) = event.get();
    DISPPARAMS params = {&argument, nullptr, 1, 0};
    sink->Invoke(dispid, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &params, nullptr, nullptr, nullptr);
  }
  return static_cast<int>(sinks.size());
}

std::size_t Page::connections() const {
  std::size_t n = 0;
  for (const auto& [document, state] : state_->documents) n += state.sinks.size();
  return n;
}

void Page::Unload() { state_->unloaded = true; }

int Page::calls_after_unload() const { return state_->calls_after_unload; }

const std::vector<WrittenColour>& Page::colours_written() const { return state_->colours; }

const std::vector<long>& Page::scrolled() const { return state_->scrolled; }

win::ComPtr<IDispatch> MakeSink(std::function<void(DISPID, DISPPARAMS*)> on_invoke) {
  return Make<IDispatch, SinkObject>(std::move(on_invoke));
}

long LiveObjects() { return g_live_objects; }

}  // namespace ph::test::standin
