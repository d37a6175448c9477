// The band's class factory.
#include "band/shell/win32/class_factory.h"

#include <new>

#include "band/shell/win32/grab_plugin_band.h"
#include "band/shell/win32/module.h"

namespace ph::band {
namespace {

class BandFactory : public IClassFactory {
 public:
  STDMETHODIMP QueryInterface(REFIID iid, void** out) override {
    if (!out) return E_POINTER;
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IClassFactory)) {
      *out = static_cast<IClassFactory*>(this);
      AddRef();
      return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
  }
  // The factory is never freed before the library, so its references count nothing; what keeps the
  // library loaded is LockServer.
  STDMETHODIMP_(ULONG) AddRef() override { return 2; }
  STDMETHODIMP_(ULONG) Release() override { return 1; }

  STDMETHODIMP CreateInstance(IUnknown* outer, REFIID iid, void** out) override {
    if (!out) return E_POINTER;
    *out = nullptr;
    // An aggregator must ask for the inner object's own IUnknown.
    if (outer && !IsEqualIID(iid, IID_IUnknown)) return CLASS_E_NOAGGREGATION;
    return CGrabPluginBand::Create(outer, iid, out);
  }

  STDMETHODIMP LockServer(BOOL lock) override {
    band::LockServer(lock != FALSE);
    return S_OK;
  }
};

}  // namespace

IClassFactory* BandClassFactory() {
  static BandFactory* factory = nullptr;
  const std::lock_guard<std::mutex> hold(ModuleMutex());
  if (!factory) factory = new (std::nothrow) BandFactory();
  return factory;
}

}  // namespace ph::band
