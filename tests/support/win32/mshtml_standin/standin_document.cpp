// The stand-in's documents, frames (embedded browsers) and HTMLDocumentEvents2 connection points.
#include <vector>

#include "tests/support/win32/mshtml_standin/standin_objects.h"

namespace ph::test::standin {
namespace {

// An embedded object that is not a frame (a plug-in, say): it answers nothing but IUnknown.
class ForeignObject : public ComObject<IUnknown> {
 protected:
  void* Find(REFIID iid) override { return iid == IID_IUnknown ? static_cast<IUnknown*>(this) : nullptr; }
};

class EnumObject : public ComObject<IEnumUnknownStubs> {
 public:
  explicit EnumObject(std::vector<win::ComPtr<IUnknown>> objects) : objects_(std::move(objects)) {}

  HRESULT STDMETHODCALLTYPE Next(ULONG count, IUnknown** out, ULONG* fetched) override {
    if (!out || (count > 1 && !fetched)) return E_POINTER;
    ULONG n = 0;
    for (; n < count && next_ < objects_.size(); ++n, ++next_) {
      out[n] = objects_[next_].get();
      out[n]->AddRef();
    }
    if (fetched) *fetched = n;
    return n == count ? S_OK : S_FALSE;
  }
  HRESULT STDMETHODCALLTYPE Reset() override {
    next_ = 0;
    return S_OK;
  }

 protected:
  void* Find(REFIID iid) override {
    return iid == IID_IUnknown || iid == __uuidof(IEnumUnknown) ? static_cast<IEnumUnknown*>(this) : nullptr;
  }

 private:
  std::vector<win::ComPtr<IUnknown>> objects_;
  std::size_t next_ = 0;
};

class BrowserObject : public ComObject<IWebBrowser2Stubs> {
 public:
  BrowserObject(win::ComPtr<IHTMLDocument2> document, bool refused) : document_(std::move(document)), refused_(refused) {}
  void Show(win::ComPtr<IHTMLDocument2> document) { document_ = std::move(document); }

  HRESULT STDMETHODCALLTYPE get_Document(IDispatch** p) override {
    if (!p) return E_POINTER;
    *p = nullptr;
    if (refused_) return E_ACCESSDENIED;
    return Out(AsDispatch(document_), p);
  }

 protected:
  void* Find(REFIID iid) override {
    if (iid == IID_IUnknown || iid == IID_IDispatch || iid == __uuidof(IWebBrowser) || iid == __uuidof(IWebBrowserApp) ||
        iid == __uuidof(IWebBrowser2))
      return static_cast<IWebBrowser2*>(this);
    return nullptr;
  }

 private:
  win::ComPtr<IHTMLDocument2> document_;
  bool refused_;
};

class ConnectionPointObject : public ComObject<IConnectionPointStubs> {
 public:
  ConnectionPointObject(StatePtr state, const ph::Document* document) : state_(std::move(state)), document_(document) {}

  HRESULT STDMETHODCALLTYPE GetConnectionInterface(IID* iid) override {
    if (!iid) return E_POINTER;
    *iid = __uuidof(HTMLDocumentEvents2);
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE Advise(IUnknown* sink, DWORD* cookie) override {
    if (!sink || !cookie) return E_POINTER;
    DocumentState& doc = state_->of(document_);
    if (doc.faults.refuse_connection) return CONNECT_E_ADVISELIMIT;
    win::ComPtr<IDispatch> dispatch;
    if (FAILED(sink->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(dispatch.put())))) return CONNECT_E_CANNOTCONNECT;
    *cookie = state_->next_cookie++;
    doc.sinks[*cookie] = std::move(dispatch);
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE Unadvise(DWORD cookie) override {
    return state_->of(document_).sinks.erase(cookie) ? S_OK : CONNECT_E_NOCONNECTION;
  }

 protected:
  void* Find(REFIID iid) override {
    return iid == IID_IUnknown || iid == __uuidof(IConnectionPoint) ? static_cast<IConnectionPoint*>(this) : nullptr;
  }

 private:
  StatePtr state_;
  const ph::Document* document_;
};

class DocumentObject
    : public ComObject<IHTMLDocument2Stubs, IHTMLDocument3Stubs, IOleContainerStubs, IConnectionPointContainerStubs> {
 public:
  DocumentObject(StatePtr state, DocumentPtr document) : state_(std::move(state)), document_(std::move(document)) {}

  // IHTMLDocument2
  HRESULT STDMETHODCALLTYPE get_body(IHTMLElement** p) override {
    if (state_->Gone()) return E_FAIL;
    if (faults().refuse_body) return E_ACCESSDENIED;
    return Out(MakeElement(state_, document_->Body()), p);
  }
  HRESULT STDMETHODCALLTYPE get_URL(BSTR* p) override { return state_->Gone() ? E_FAIL : OutText(document_->Url(), p); }
  HRESULT STDMETHODCALLTYPE get_title(BSTR* p) override { return state_->Gone() ? E_FAIL : OutText(document_->Title(), p); }

  // IHTMLDocument3
  HRESULT STDMETHODCALLTYPE getElementsByTagName(BSTR v, IHTMLElementCollection** p) override {
    if (state_->Gone()) return E_FAIL;
    return Out(MakeCollection(state_, document_->ElementsByTagName(ViewOf(v)), document_.get()), p);
  }

  // IOleContainer: a browser per frame, made afresh on every enumeration.
  HRESULT STDMETHODCALLTYPE EnumObjects(DWORD flags, IEnumUnknown** p) override {
    if (state_->Gone()) return E_FAIL;
    if (!p) return E_POINTER;
    std::vector<win::ComPtr<IUnknown>> objects;
    if (flags & OLECONTF_EMBEDDINGS) {
      if (faults().foreign_embedding) objects.push_back(Make<IUnknown, ForeignObject>());
      for (const DocumentPtr& frame : document_->FrameDocuments()) {
        auto browser = MakeBrowser(MakeDocument(state_, frame), state_->of(frame.get()).faults.refuse_access);
        objects.push_back(win::ComPtr<IUnknown>::Share(browser.get()));
      }
    }
    return Out(Make<IEnumUnknown, EnumObject>(std::move(objects)), p);
  }

  // IConnectionPointContainer
  HRESULT STDMETHODCALLTYPE FindConnectionPoint(REFIID iid, IConnectionPoint** p) override {
    if (!p) return E_POINTER;
    *p = nullptr;
    if (iid != __uuidof(HTMLDocumentEvents2)) return CONNECT_E_NOCONNECTION;
    return Out(Make<IConnectionPoint, ConnectionPointObject>(state_, document_.get()), p);
  }

 protected:
  void* Find(REFIID iid) override {
    if (iid == IID_IUnknown || iid == IID_IDispatch || iid == __uuidof(IHTMLDocument) || iid == __uuidof(IHTMLDocument2))
      return static_cast<IHTMLDocument2*>(this);
    if (iid == __uuidof(IHTMLDocument3)) return static_cast<IHTMLDocument3*>(this);
    if (iid == __uuidof(IOleContainer) || iid == __uuidof(IParseDisplayName)) return static_cast<IOleContainer*>(this);
    if (iid == __uuidof(IConnectionPointContainer)) return static_cast<IConnectionPointContainer*>(this);
    return nullptr;
  }

 private:
  Faults& faults() { return state_->of(document_.get()).faults; }

  StatePtr state_;
  DocumentPtr document_;
};

}  // namespace

win::ComPtr<IHTMLDocument2> MakeDocument(const StatePtr& state, DocumentPtr document) {
  if (!document) return {};
  return Make<IHTMLDocument2, DocumentObject>(state, std::move(document));
}

win::ComPtr<IWebBrowser2> MakeBrowser(win::ComPtr<IHTMLDocument2> document, bool refused) {
  return Make<IWebBrowser2, BrowserObject>(std::move(document), refused);
}

bool Show(IWebBrowser2* browser, Page& page) {
  auto* object = dynamic_cast<BrowserObject*>(browser);
  if (!object) return false;
  object->Show(page.Document());
  return true;
}

}  // namespace ph::test::standin
