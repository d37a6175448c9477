// The stand-in browser window, its band site and the thread they live on.
#include "tests/band/shell/win32/browser_host.h"

#include <shlguid.h>

#include <future>

#include "grab_plugin_h.h"

namespace ph::test {
namespace {

constexpr UINT kRunMessage = WM_APP + 1;
constexpr char kHostClass[] = "PageHarvest band host window";

LRESULT CALLBACK HostWindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == kRunMessage) {
    auto* fn = reinterpret_cast<std::function<void()>*>(lparam);
    (*fn)();
    if (wparam) delete fn;  // posted calls own their function
    return 0;
  }
  return ::DefWindowProcA(window, message, wparam, lparam);
}

}  // namespace

// The band site: the host window, focus notifications, and the browser as a service.
class BrowserHost::Site : public IOleWindow, public IInputObjectSite, public IOleCommandTarget, public IServiceProvider {
 public:
  explicit Site(BrowserHost* host) : host_(host) {}

  STDMETHODIMP QueryInterface(REFIID iid, void** out) override {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IOleWindow)) {
      *out = static_cast<IOleWindow*>(this);
    } else if (IsEqualIID(iid, IID_IInputObjectSite)) {
      *out = static_cast<IInputObjectSite*>(this);
    } else if (IsEqualIID(iid, IID_IOleCommandTarget)) {
      *out = static_cast<IOleCommandTarget*>(this);
    } else if (IsEqualIID(iid, IID_IServiceProvider)) {
      *out = static_cast<IServiceProvider*>(this);
    } else {
      return E_NOINTERFACE;
    }
    AddRef();
    return S_OK;
  }
  STDMETHODIMP_(ULONG) AddRef() override { return static_cast<ULONG>(::InterlockedIncrement(&refs_)); }
  STDMETHODIMP_(ULONG) Release() override {
    const LONG left = ::InterlockedDecrement(&refs_);
    if (left == 0) delete this;
    return static_cast<ULONG>(left);
  }

  STDMETHODIMP GetWindow(HWND* window) override {
    if (!window) return E_POINTER;
    *window = host_->window_;
    return S_OK;
  }
  STDMETHODIMP ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }

  STDMETHODIMP OnFocusChangeIS(IUnknown*, BOOL) override {
    ++host_->focus_changes_;
    return S_OK;
  }

  STDMETHODIMP QueryStatus(const GUID*, ULONG, OLECMD*, OLECMDTEXT*) override { return E_NOTIMPL; }
  STDMETHODIMP Exec(const GUID*, DWORD, DWORD, VARIANT*, VARIANT*) override { return E_NOTIMPL; }

  STDMETHODIMP QueryService(REFGUID service, REFIID iid, void** out) override {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (!IsEqualGUID(service, SID_SWebBrowserApp)) return E_NOINTERFACE;
    return host_->browser_->QueryInterface(iid, out);
  }

 private:
  BrowserHost* host_;
  LONG refs_ = 1;
};

BrowserHost::BrowserHost() {
  std::promise<void> ready;
  thread_ = std::thread([this, &ready] {
    ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    WNDCLASSA cls = {};
    cls.lpfnWndProc = &HostWindowProc;
    cls.hInstance = ::GetModuleHandleA(nullptr);
    cls.lpszClassName = kHostClass;
    ::RegisterClassA(&cls);
    window_ = ::CreateWindowExA(0, kHostClass, kHostTitle, WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 0, 0, 640, 120,
                                nullptr, nullptr, cls.hInstance, nullptr);
    ::ShowWindow(window_, SW_SHOW);
    browser_ = StandInBrowser::Make();
    site_ = win::ComPtr<IUnknown>::Adopt(static_cast<IOleWindow*>(new Site(this)));
    ready.set_value();
    ThreadMain();
  });
  ready.get_future().wait();
}

void BrowserHost::ThreadMain() {
  MSG msg;
  while (::GetMessageA(&msg, nullptr, 0, 0) > 0) {
    ::TranslateMessage(&msg);
    ::DispatchMessageA(&msg);
  }
  if (band_) {
    band_->CloseDW(0);
    win::ComPtr<IObjectWithSite> with_site;
    if (SUCCEEDED(band_->QueryInterface(IID_IObjectWithSite, reinterpret_cast<void**>(with_site.put()))))
      with_site->SetSite(nullptr);
  }
  band_.reset();
  site_.reset();
  browser_.reset();
  ::DestroyWindow(window_);
  ::CoUninitialize();
}

BrowserHost::~BrowserHost() {
  ::PostMessageA(window_, WM_QUIT, 0, 0);
  thread_.join();
}

void BrowserHost::Run(const std::function<void()>& fn) {
  std::function<void()> call = fn;
  ::SendMessageA(window_, kRunMessage, 0, reinterpret_cast<LPARAM>(&call));
}

void BrowserHost::Post(std::function<void()> fn) {
  ::PostMessageA(window_, kRunMessage, 1, reinterpret_cast<LPARAM>(new std::function<void()>(std::move(fn))));
}

HRESULT BrowserHost::AttachBand() {
  HRESULT hr = E_FAIL;
  Run([&] {
    hr = ::CoCreateInstance(CLSID_GrabPluginBand, nullptr, CLSCTX_INPROC_SERVER, IID_IDeskBand,
                            reinterpret_cast<void**>(band_.put()));
    if (FAILED(hr)) return;
    win::ComPtr<IObjectWithSite> with_site;
    hr = band_->QueryInterface(IID_IObjectWithSite, reinterpret_cast<void**>(with_site.put()));
    if (SUCCEEDED(hr)) hr = with_site->SetSite(site_.get());
  });
  return hr;
}

HWND BrowserHost::Toolbar() const { return ::FindWindowExA(window_, nullptr, "ToolbarWindow32", "ToolBar"); }

HWND BrowserHost::ControlWindow() const { return ::FindWindowExA(Toolbar(), nullptr, "grab pluginy class", ""); }

}  // namespace ph::test
