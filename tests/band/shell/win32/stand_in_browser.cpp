// The stand-in browser object and its event connection point.
#include "tests/band/shell/win32/stand_in_browser.h"

#include <exdispid.h>
#include <olectl.h>

namespace ph::test {

win::ComPtr<StandInBrowser> StandInBrowser::Make() { return win::ComPtr<StandInBrowser>::Adopt(new StandInBrowser()); }

STDMETHODIMP StandInBrowser::QueryInterface(REFIID iid, void** out) {
  if (!out) return E_POINTER;
  *out = nullptr;
  if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDispatch) || IsEqualIID(iid, IID_IWebBrowser) ||
      IsEqualIID(iid, IID_IWebBrowserApp) || IsEqualIID(iid, IID_IWebBrowser2)) {
    *out = static_cast<IWebBrowser2*>(this);
  } else if (IsEqualIID(iid, IID_IConnectionPointContainer)) {
    *out = static_cast<IConnectionPointContainer*>(this);
  } else {
    return E_NOINTERFACE;
  }
  AddRef();
  return S_OK;
}

STDMETHODIMP_(ULONG) StandInBrowser::AddRef() { return static_cast<ULONG>(::InterlockedIncrement(&refs_)); }

STDMETHODIMP_(ULONG) StandInBrowser::Release() {
  const LONG left = ::InterlockedDecrement(&refs_);
  if (left == 0) delete this;
  return static_cast<ULONG>(left);
}

void StandInBrowser::SetDocument(IDispatch* document) {
  document_ = win::ComPtr<IDispatch>::Share(document);
}

STDMETHODIMP StandInBrowser::get_Document(IDispatch** document) {
  if (!document) return E_POINTER;
  *document = document_.get();
  if (!*document) return E_FAIL;
  (*document)->AddRef();
  return S_OK;
}

STDMETHODIMP StandInBrowser::FindConnectionPoint(REFIID iid, IConnectionPoint** point) {
  if (!point) return E_POINTER;
  *point = nullptr;
  if (!IsEqualIID(iid, DIID_DWebBrowserEvents2)) return CONNECT_E_NOCONNECTION;
  *point = static_cast<IConnectionPoint*>(this);
  AddRef();
  return S_OK;
}

STDMETHODIMP StandInBrowser::GetConnectionInterface(IID* iid) {
  if (!iid) return E_POINTER;
  *iid = DIID_DWebBrowserEvents2;
  return S_OK;
}

STDMETHODIMP StandInBrowser::GetConnectionPointContainer(IConnectionPointContainer** container) {
  if (!container) return E_POINTER;
  *container = static_cast<IConnectionPointContainer*>(this);
  AddRef();
  return S_OK;
}

STDMETHODIMP StandInBrowser::Advise(IUnknown* sink, DWORD* cookie) {
  if (!sink || !cookie) return E_POINTER;
  win::ComPtr<IDispatch> dispatch;
  if (FAILED(sink->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(dispatch.put())))) return CONNECT_E_CANNOTCONNECT;
  sinks_.push_back(dispatch);
  *cookie = static_cast<DWORD>(sinks_.size());
  return S_OK;
}

STDMETHODIMP StandInBrowser::Unadvise(DWORD cookie) {
  if (cookie == 0 || cookie > sinks_.size() || !sinks_[cookie - 1]) return CONNECT_E_NOCONNECTION;
  sinks_[cookie - 1].reset();
  return S_OK;
}

std::size_t StandInBrowser::connections() const {
  std::size_t n = 0;
  for (const auto& sink : sinks_) n += sink ? 1 : 0;
  return n;
}

void StandInBrowser::Fire(DISPID dispid, VARIANTARG* args, UINT count) {
  DISPPARAMS params = {args, nullptr, count, 0};
  // A sink may disconnect while it is called: walk a copy.
  const std::vector<win::ComPtr<IDispatch>> sinks = sinks_;
  for (const auto& sink : sinks)
    if (sink) sink->Invoke(dispid, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &params, nullptr, nullptr, nullptr);
}

bool StandInBrowser::FireBeforeNavigate2(IDispatch* frame) {
  // pDisp, URL, Flags, TargetFrameName, PostData, Headers, Cancel, held last first.
  VARIANT_BOOL cancel = VARIANT_FALSE;
  VARIANT url = {}, empty = {};
  V_VT(&url) = VT_BSTR;
  V_BSTR(&url) = ::SysAllocString(L"http://pages.test/next.html");
  VARIANTARG args[7] = {};
  V_VT(&args[0]) = VT_BOOL | VT_BYREF;
  V_BOOLREF(&args[0]) = &cancel;
  for (int i = 1; i <= 4; ++i) {
    V_VT(&args[i]) = VT_VARIANT | VT_BYREF;
    V_VARIANTREF(&args[i]) = &empty;
  }
  V_VT(&args[5]) = VT_VARIANT | VT_BYREF;
  V_VARIANTREF(&args[5]) = &url;
  V_VT(&args[6]) = VT_DISPATCH;
  V_DISPATCH(&args[6]) = frame ? frame : static_cast<IWebBrowser2*>(this);
  Fire(DISPID_BEFORENAVIGATE2, args, 7);
  ::VariantClear(&url);
  return cancel != VARIANT_FALSE;
}

bool StandInBrowser::FireNewWindow2() {
  VARIANT_BOOL cancel = VARIANT_FALSE;
  IDispatch* new_window = nullptr;
  VARIANTARG args[2] = {};
  V_VT(&args[0]) = VT_BOOL | VT_BYREF;
  V_BOOLREF(&args[0]) = &cancel;
  V_VT(&args[1]) = VT_DISPATCH | VT_BYREF;
  V_DISPATCHREF(&args[1]) = &new_window;
  Fire(DISPID_NEWWINDOW2, args, 2);
  return cancel != VARIANT_FALSE;
}

void StandInBrowser::FireDocumentComplete() {
  VARIANT url = {};
  V_VT(&url) = VT_BSTR;
  V_BSTR(&url) = ::SysAllocString(L"http://pages.test/");
  VARIANTARG args[2] = {};
  V_VT(&args[0]) = VT_VARIANT | VT_BYREF;
  V_VARIANTREF(&args[0]) = &url;
  V_VT(&args[1]) = VT_DISPATCH;
  V_DISPATCH(&args[1]) = static_cast<IWebBrowser2*>(this);
  Fire(DISPID_DOCUMENTCOMPLETE, args, 2);
  ::VariantClear(&url);
}

}  // namespace ph::test
