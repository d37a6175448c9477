// The four exports of GrabPlugin.dll and its entry point.
#include <windows.h>

#include "band/shell/win32/class_factory.h"
#include "band/shell/win32/control_window.h"
#include "band/shell/win32/module.h"
#include "band/shell/win32/registrar.h"
#include "grab_plugin_h.h"
#include "platform/win32/edge_guard.h"

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) {
    ph::band::SetModuleInstance(instance);
    ::DisableThreadLibraryCalls(instance);
  } else if (reason == DLL_PROCESS_DETACH) {
    ph::band::UnregisterControlClass(instance);
  }
  return TRUE;
}

STDAPI DllGetClassObject(REFCLSID clsid, REFIID iid, LPVOID* out) {
  if (!out) return E_POINTER;
  *out = nullptr;
  if (!IsEqualCLSID(clsid, CLSID_GrabPluginBand)) return CLASS_E_CLASSNOTAVAILABLE;
  return ph::win::GuardComMethod("DllGetClassObject", [&] {
    IClassFactory* factory = ph::band::BandClassFactory();
    if (!factory) return E_OUTOFMEMORY;
    return factory->QueryInterface(iid, out);
  });
}

STDAPI DllCanUnloadNow() { return ph::band::ModuleInUse() ? S_FALSE : S_OK; }

STDAPI DllRegisterServer() {
  return ph::win::GuardComMethod("DllRegisterServer", [] { return ph::band::RegisterServer(); });
}

STDAPI DllUnregisterServer() {
  return ph::win::GuardComMethod("DllUnregisterServer", [] { return ph::band::UnregisterServer(); });
}
