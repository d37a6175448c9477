// The band object's COM methods: identity, site, persistence, band layout and event routing.
#include "band/shell/win32/grab_plugin_band.h"

#include <shlguid.h>

#include <new>

#include "band/shell/win32/module.h"
#include "platform/clock.h"
#include "platform/code_page.h"
#include "platform/file_system.h"
#include "platform/registry.h"
#include "platform/url.h"
#include "platform/win32/edge_guard.h"

namespace ph::band {
namespace {

constexpr int kMinWidth = 10;
constexpr int kMaxWidth = 200;
constexpr int kActualWidth = 130;

template <typename T>
win::ComPtr<T> Query(IUnknown* from, REFIID iid) {
  win::ComPtr<T> out;
  if (from) from->QueryInterface(iid, reinterpret_cast<void**>(out.put()));
  return out;
}

void CriticalError(const char* text) { ::MessageBoxA(nullptr, text, "CRITICAL ERROR - PAGEHARVEST", MB_OK); }

// The browser object an event is about: its first argument, which DISPPARAMS holds last.
IDispatch* EventSource(const DISPPARAMS* params) {
  if (!params || params->cArgs == 0) return nullptr;
  const VARIANTARG& first = params->rgvarg[params->cArgs - 1];
  return V_VT(&first) == VT_DISPATCH ? V_DISPATCH(&first) : nullptr;
}

// Whether two interfaces belong to one object (COM identity is the IUnknown pointer).
bool SameObject(IUnknown* a, IUnknown* b) {
  auto ia = Query<IUnknown>(a, IID_IUnknown), ib = Query<IUnknown>(b, IID_IUnknown);
  return ia && ia.get() == ib.get();
}

}  // namespace

HRESULT CGrabPluginBand::Create(IUnknown* outer, REFIID iid, void** out) {
  return win::GuardComMethod("CGrabPluginBand::Create", [&] {
    auto* band = new CGrabPluginBand(outer);
    // The object starts with one reference of its own, which the answer takes over or lets go.
    const HRESULT hr = band->inner_.QueryInterface(iid, out);
    band->inner_.Release();
    return hr;
  });
}

CGrabPluginBand::CGrabPluginBand(IUnknown* outer)
    : inner_(this),
      outer_(outer ? outer : &inner_),
      registry_(MakeSystemRegistry()),
      files_(MakeSystemFileSystem({}, ModuleInstance())),
      urls_(MakeSystemUrlPort()),
      code_page_(std::make_unique<Utf8CodePage>()),
      clock_(MakeSystemClock()),
      pages_(MakePageBinding(static_cast<IGrabPluginBand*>(this))),
      timers_(windows_),
      messages_(windows_),
      process_(windows_),
      link_(process_, *registry_, *clock_, messages_),
      engine_(EnginePorts{pages_->browser(), toolbar_, pages_->events(), timers_, messages_, link_, *registry_,
                          *files_, *urls_, *code_page_}),
      commands_(engine_, settings_, toolbar_, messages_, *registry_) {
  ObjectCreated();
}

CGrabPluginBand::~CGrabPluginBand() {
  // A browser that lets go of the band without closing it would leave windows whose procedure
  // points at this object: they go first, while everything they call still exists.
  toolbar_.Destroy();
  DisconnectBrowser();
  ObjectDestroyed();
}

// --- IUnknown ------------------------------------------------------------------------------------

STDMETHODIMP CGrabPluginBand::Inner::QueryInterface(REFIID iid, void** out) {
  if (!out) return E_POINTER;
  *out = nullptr;
  CGrabPluginBand* band = self_;
  if (IsEqualIID(iid, IID_IGrabPluginBand) || IsEqualIID(iid, IID_IDispatch)) {
    *out = static_cast<IGrabPluginBand*>(band);
  } else if (IsEqualIID(iid, IID_IObjectWithSite)) {
    *out = static_cast<IObjectWithSite*>(band);
  } else if (IsEqualIID(iid, IID_IPersistStream)) {
    *out = static_cast<IPersistStream*>(band);
  } else if (IsEqualIID(iid, IID_IDeskBand)) {
    *out = static_cast<IDeskBand*>(band);
  } else if (IsEqualIID(iid, IID_IUnknown)) {
    *out = static_cast<IUnknown*>(this);
  } else {
    return E_NOINTERFACE;
  }
  static_cast<IUnknown*>(*out)->AddRef();
  return S_OK;
}

STDMETHODIMP_(ULONG) CGrabPluginBand::Inner::AddRef() { return static_cast<ULONG>(::InterlockedIncrement(&self_->refs_)); }

STDMETHODIMP_(ULONG) CGrabPluginBand::Inner::Release() {
  const LONG left = ::InterlockedDecrement(&self_->refs_);
  if (left == 0) delete self_;
  return static_cast<ULONG>(left);
}

STDMETHODIMP CGrabPluginBand::QueryInterface(REFIID iid, void** out) { return outer_->QueryInterface(iid, out); }
STDMETHODIMP_(ULONG) CGrabPluginBand::AddRef() { return outer_->AddRef(); }
STDMETHODIMP_(ULONG) CGrabPluginBand::Release() { return outer_->Release(); }

// --- IDispatch -----------------------------------------------------------------------------------

ITypeInfo* CGrabPluginBand::TypeInfo() {
  if (type_info_) return type_info_.get();
  win::ComPtr<ITypeLib> library;
  wchar_t path[MAX_PATH] = {};
  if (::GetModuleFileNameW(ModuleInstance(), path, MAX_PATH) == 0) return nullptr;
  if (SUCCEEDED(::LoadTypeLibEx(path, REGKIND_NONE, library.put())))
    library->GetTypeInfoOfGuid(IID_IGrabPluginBand, type_info_.put());
  return type_info_.get();
}

STDMETHODIMP CGrabPluginBand::GetTypeInfoCount(UINT* count) {
  if (!count) return E_POINTER;
  *count = 1;
  return S_OK;
}

STDMETHODIMP CGrabPluginBand::GetTypeInfo(UINT index, LCID, ITypeInfo** info) {
  if (!info) return E_POINTER;
  *info = nullptr;
  if (index != 0) return DISP_E_BADINDEX;
  ITypeInfo* type = TypeInfo();
  if (!type) return E_FAIL;
  type->AddRef();
  *info = type;
  return S_OK;
}

STDMETHODIMP CGrabPluginBand::GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) {
  ITypeInfo* type = TypeInfo();
  if (!type) return E_FAIL;
  return ::DispGetIDsOfNames(type, names, count, ids);
}

STDMETHODIMP CGrabPluginBand::Invoke(DISPID dispid, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT*, EXCEPINFO*,
                                     UINT*) {
  return win::GuardComMethod("CGrabPluginBand::Invoke", [&] {
    const BandEvent event = ClassifyDispid(dispid);
    if (event == BandEvent::kMouseOver || event == BandEvent::kMouseUp) {
      pages_->RouteDocumentEvent(dispid, params, engine_);
      return S_OK;
    }
    if (event == BandEvent::kIgnored) return S_OK;
    const bool cancel = RouteBrowserEvent(engine_, event);
    if (event == BandEvent::kBeforeNavigate || event == BandEvent::kNewWindow) {
      // Cancel is the last argument of both events, which comes first in the array.
      if (cancel && params && params->cArgs > 0 && V_VT(&params->rgvarg[0]) == (VT_BYREF | VT_BOOL) &&
          V_BOOLREF(&params->rgvarg[0]))
        *V_BOOLREF(&params->rgvarg[0]) = VARIANT_TRUE;
    }
    // The page is about to go: no element of it may be touched once it is unloaded. A frame that
    // navigates leaves the page, and every handle of it, in place; an event that does not say
    // which browser it is about is taken for the page's own.
    if (event == BandEvent::kBeforeNavigate && !cancel) {
      IDispatch* source = EventSource(params);
      if (!source || SameObject(source, browser_.get())) pages_->Forget();
    }
    return S_OK;
  });
}

// --- IObjectWithSite -----------------------------------------------------------------------------

STDMETHODIMP CGrabPluginBand::SetSite(IUnknown* site) {
  return win::GuardComMethod("CGrabPluginBand::SetSite", [&] {
    if (!site) {
      DisconnectBrowser();
      site_.reset();
      return S_OK;
    }
    site_ = win::ComPtr<IUnknown>::Share(site);
    if (auto window = Query<IOleWindow>(site, IID_IOleWindow)) {
      HWND site_window = nullptr;
      window->GetWindow(&site_window);
      windows_.site = site_window;
      StartUp();
    }
    ConnectBrowser(site);
    return S_OK;
  });
}

void CGrabPluginBand::StartUp() {
  if (!toolbar_.Create(windows_.site, ModuleInstance(), *registry_, &settings_)) {
    CriticalError("FAILED TO MAKE TOOL BAR");
  } else if (!CreateControlWindow(ModuleInstance(), toolbar_.hwnd(), this)) {
    CriticalError("FAILED TO MAKE CONTROL WINDOW");
  }
  engine_.LoadStores();
}

void CGrabPluginBand::ConnectBrowser(IUnknown* site) {
  DisconnectBrowser();
  input_site_ = Query<IInputObjectSite>(site, IID_IInputObjectSite);
  auto target = Query<IOleCommandTarget>(input_site_.get(), IID_IOleCommandTarget);
  auto provider = Query<IServiceProvider>(target.get(), IID_IServiceProvider);
  if (!provider) return;
  win::ComPtr<IWebBrowser2> browser;
  if (FAILED(provider->QueryService(SID_SWebBrowserApp, IID_IWebBrowser2, reinterpret_cast<void**>(browser.put()))) ||
      !browser)
    return;
  browser_ = browser;
  pages_->SetBrowser(browser_.get());
  auto container = Query<IConnectionPointContainer>(browser_.get(), IID_IConnectionPointContainer);
  win::ComPtr<IConnectionPoint> point;
  if (!container || FAILED(container->FindConnectionPoint(DIID_DWebBrowserEvents2, point.put())) || !point) return;
  DWORD cookie = 0;
  if (SUCCEEDED(point->Advise(static_cast<IGrabPluginBand*>(this), &cookie))) browser_cookie_ = cookie;
}

void CGrabPluginBand::DisconnectBrowser() {
  if (browser_ && browser_cookie_) {
    auto container = Query<IConnectionPointContainer>(browser_.get(), IID_IConnectionPointContainer);
    win::ComPtr<IConnectionPoint> point;
    if (container && SUCCEEDED(container->FindConnectionPoint(DIID_DWebBrowserEvents2, point.put())) && point)
      point->Unadvise(browser_cookie_);
  }
  browser_cookie_ = 0;
  pages_->SetBrowser(nullptr);
  browser_.reset();
  input_site_.reset();
}

STDMETHODIMP CGrabPluginBand::GetSite(REFIID iid, void** out) {
  if (!out) return E_POINTER;
  *out = nullptr;
  if (!site_) return E_FAIL;
  return site_->QueryInterface(iid, out);
}

// --- IPersistStream ------------------------------------------------------------------------------

STDMETHODIMP CGrabPluginBand::GetClassID(CLSID* clsid) {
  if (!clsid) return E_POINTER;
  *clsid = CLSID_GrabPluginBand;
  return S_OK;
}

STDMETHODIMP CGrabPluginBand::IsDirty() { return S_OK; }
STDMETHODIMP CGrabPluginBand::Load(IStream*) { return S_OK; }
STDMETHODIMP CGrabPluginBand::Save(IStream*, BOOL) { return S_OK; }
STDMETHODIMP CGrabPluginBand::GetSizeMax(ULARGE_INTEGER*) { return E_NOTIMPL; }

// --- IDeskBand -----------------------------------------------------------------------------------

STDMETHODIMP CGrabPluginBand::GetWindow(HWND* window) {
  if (!window) return E_POINTER;
  *window = toolbar_.hwnd();
  return S_OK;
}

STDMETHODIMP CGrabPluginBand::ContextSensitiveHelp(BOOL) { return E_NOTIMPL; }

STDMETHODIMP CGrabPluginBand::ShowDW(BOOL show) {
  if (toolbar_.hwnd()) ::ShowWindow(toolbar_.hwnd(), show ? SW_SHOW : SW_HIDE);
  return S_OK;
}

STDMETHODIMP CGrabPluginBand::CloseDW(DWORD) {
  toolbar_.Destroy();
  return S_OK;
}

STDMETHODIMP CGrabPluginBand::ResizeBorderDW(LPCRECT, IUnknown*, BOOL) { return E_NOTIMPL; }

STDMETHODIMP CGrabPluginBand::GetBandInfo(DWORD, DWORD, DESKBANDINFO* info) {
  if (!info) return E_INVALIDARG;
  return win::GuardComMethod("CGrabPluginBand::GetBandInfo", [&] {
    if (info->dwMask & (DBIM_MINSIZE | DBIM_MAXSIZE | DBIM_ACTUAL)) {
      ReadBandSettings(*registry_, &settings_);
      info->ptMinSize.y = info->ptMaxSize.y = info->ptActual.y = settings_.height;
    }
    if (info->dwMask & DBIM_MINSIZE) info->ptMinSize.x = kMinWidth;
    if (info->dwMask & DBIM_MAXSIZE) info->ptMaxSize.x = kMaxWidth;
    if (info->dwMask & DBIM_ACTUAL) info->ptActual.x = kActualWidth;
    if (info->dwMask & DBIM_INTEGRAL) info->ptIntegral = {1, 1};
    if (info->dwMask & DBIM_TITLE) info->wszTitle[0] = L'\0';
    if (info->dwMask & DBIM_MODEFLAGS) info->dwModeFlags = DBIMF_VARIABLEHEIGHT;
    info->dwMask &= ~static_cast<DWORD>(DBIM_BKCOLOR);
    return S_OK;
  });
}

// --- The control window --------------------------------------------------------------------------

void CGrabPluginBand::OnControlWindowDestroyed() {
  SaveBandSettings(*registry_, settings_);
  windows_.control = nullptr;
}

void CGrabPluginBand::OnFocusChange(bool gained) {
  if (input_site_) input_site_->OnFocusChangeIS(static_cast<IDeskBand*>(this), gained ? TRUE : FALSE);
}

}  // namespace ph::band
