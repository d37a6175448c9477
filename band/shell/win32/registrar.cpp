// Running the registration scripts carried as resources, and registering the type library beside them.
#include "band/shell/win32/registrar.h"

#include <oleauto.h>
#include <olectl.h>

#include "band/shell/registry_script.h"
#include "band/shell/win32/module.h"
#include "grab_plugin_h.h"
#include "resources/band_resource.h"

namespace ph::band {
namespace {

enum class Direction { kRegister, kUnregister };

// The script of a REGISTRY resource with %APPID% and %MODULE% filled in; nothing when it is missing.
std::optional<RegistryScript> LoadScript(int id) {
  const HINSTANCE module = ModuleInstance();
  const HRSRC found = ::FindResourceA(module, MAKEINTRESOURCEA(id), "REGISTRY");
  if (!found) return std::nullopt;
  const HGLOBAL loaded = ::LoadResource(module, found);
  const char* text = loaded ? static_cast<const char*>(::LockResource(loaded)) : nullptr;
  if (!text) return std::nullopt;
  std::string_view source(text, ::SizeofResource(module, found));
  source = source.substr(0, source.find('\0'));
  std::string error;
  return ParseRegistryScript(source, {{"APPID", kAppId}, {"MODULE", ModulePath()}}, &error);
}

HRESULT RunScript(int id, Direction direction) {
  const auto script = LoadScript(id);
  if (!script) return E_UNEXPECTED;
  const auto registry = MakeSystemRegistry();
  const bool ok = direction == Direction::kRegister ? RegisterScript(*registry, *script)
                                                     : UnregisterScript(*registry, *script);
  return ok ? S_OK : SELFREG_E_CLASS;
}

HRESULT RegisterTypeLibrary() {
  wchar_t path[MAX_PATH] = {};
  if (::GetModuleFileNameW(ModuleInstance(), path, MAX_PATH) == 0) return E_UNEXPECTED;
  ITypeLib* library = nullptr;
  const HRESULT hr = ::LoadTypeLibEx(path, REGKIND_REGISTER, &library);
  if (library) library->Release();
  return hr;
}

HRESULT UnregisterTypeLibrary() {
  const HRESULT hr = ::UnRegisterTypeLib(LIBID_GrabPluginLib, 1, 0, 0x409, SYS_WIN64);
  // A library that is not registered is already what unregistration wants.
  return hr == TYPE_E_REGISTRYACCESS || hr == TYPE_E_CANTLOADLIBRARY ? S_OK : hr;
}

}  // namespace

HRESULT RegisterServer() {
  HRESULT hr = RunScript(IDR_APPID_SCRIPT, Direction::kRegister);
  if (SUCCEEDED(hr)) hr = RunScript(IDR_BAND_SCRIPT, Direction::kRegister);
  if (SUCCEEDED(hr)) hr = RegisterTypeLibrary();
  return hr;
}

HRESULT UnregisterServer() {
  HRESULT hr = RunScript(IDR_BAND_SCRIPT, Direction::kUnregister);
  const HRESULT library = UnregisterTypeLibrary();
  if (SUCCEEDED(hr)) hr = library;
  const HRESULT app_id = RunScript(IDR_APPID_SCRIPT, Direction::kUnregister);
  if (SUCCEEDED(hr)) hr = app_id;
  return hr;
}

}  // namespace ph::band
