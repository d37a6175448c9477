// The band object: the COM class the browser hosts in its toolbar area, root of everything the band does.
#pragma once

#include <windows.h>
#include <exdisp.h>
#include <ocidl.h>
#include <shlobj.h>

#include <memory>

#include "band/engine/selection_engine.h"
#include "band/shell/band_commands.h"
#include "band/shell/controller_link.h"
#include "band/shell/win32/band_toolbar.h"
#include "band/shell/win32/band_windows.h"
#include "band/shell/win32/control_window.h"
#include "band/shell/win32/page_binding.h"
#include "grab_plugin_h.h"
#include "platform/win32/com_ptr.h"

namespace ph {
class Clock;
class CodePage;
class FileSystem;
class Registry;
class UrlPort;
}  // namespace ph

namespace ph::band {

class CGrabPluginBand : public IGrabPluginBand,
                        public IObjectWithSite,
                        public IPersistStream,
                        public IDeskBand,
                        private ControlWindowHost {
 public:
  // Makes an object (the inner part of an aggregate when outer is given) and asks it for iid.
  static HRESULT Create(IUnknown* outer, REFIID iid, void** out);

  // IUnknown, delegating to the controlling unknown.
  STDMETHODIMP QueryInterface(REFIID iid, void** out) override;
  STDMETHODIMP_(ULONG) AddRef() override;
  STDMETHODIMP_(ULONG) Release() override;

  // IDispatch: the type library's description, and the sink of the browser's and the pages' events.
  STDMETHODIMP GetTypeInfoCount(UINT* count) override;
  STDMETHODIMP GetTypeInfo(UINT index, LCID lcid, ITypeInfo** info) override;
  STDMETHODIMP GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID lcid, DISPID* ids) override;
  STDMETHODIMP Invoke(DISPID dispid, REFIID iid, LCID lcid, WORD flags, DISPPARAMS* params, VARIANT* result,
                      EXCEPINFO* exception, UINT* arg_error) override;

  // IObjectWithSite
  STDMETHODIMP SetSite(IUnknown* site) override;
  STDMETHODIMP GetSite(REFIID iid, void** out) override;

  // IPersistStream
  STDMETHODIMP GetClassID(CLSID* clsid) override;
  STDMETHODIMP IsDirty() override;
  STDMETHODIMP Load(IStream* stream) override;
  STDMETHODIMP Save(IStream* stream, BOOL clear_dirty) override;
  STDMETHODIMP GetSizeMax(ULARGE_INTEGER* size) override;

  // IDeskBand with IOleWindow and IDockingWindow
  STDMETHODIMP GetWindow(HWND* window) override;
  STDMETHODIMP ContextSensitiveHelp(BOOL enter) override;
  STDMETHODIMP ShowDW(BOOL show) override;
  STDMETHODIMP CloseDW(DWORD reserved) override;
  STDMETHODIMP ResizeBorderDW(LPCRECT border, IUnknown* site, BOOL reserved) override;
  STDMETHODIMP GetBandInfo(DWORD band_id, DWORD view_mode, DESKBANDINFO* info) override;

 private:
  // The object's own IUnknown, which an aggregator holds; the others delegate to the controlling one.
  class Inner : public IUnknown {
   public:
    explicit Inner(CGrabPluginBand* self) : self_(self) {}
    STDMETHODIMP QueryInterface(REFIID iid, void** out) override;
    STDMETHODIMP_(ULONG) AddRef() override;
    STDMETHODIMP_(ULONG) Release() override;

   private:
    CGrabPluginBand* self_;
  };

  explicit CGrabPluginBand(IUnknown* outer);
  ~CGrabPluginBand();

  void StartUp();
  void ConnectBrowser(IUnknown* site);
  void DisconnectBrowser();
  ITypeInfo* TypeInfo();

  // ControlWindowHost
  BandCommands& commands() override { return commands_; }
  BandToolbar& toolbar() override { return toolbar_; }
  void OnControlWindowCreated(HWND window) override { windows_.control = window; }
  void OnControlWindowDestroyed() override;
  void OnFocusChange(bool gained) override;

  Inner inner_;
  IUnknown* outer_;
  LONG refs_ = 1;

  BandWindows windows_;
  std::unique_ptr<Registry> registry_;
  std::unique_ptr<FileSystem> files_;
  std::unique_ptr<UrlPort> urls_;
  // UTF-8 whatever the browser's own code page: tag and host names in the band's data files then read
  // the same in every browser process, and the same as grab's.
  std::unique_ptr<CodePage> code_page_;
  std::unique_ptr<Clock> clock_;
  std::unique_ptr<PageBinding> pages_;
  BandToolbar toolbar_;
  WindowTimers timers_;
  MessageBoxes messages_;
  ControllerProcess process_;
  ControllerLink link_;
  SelectionEngine engine_;
  BandSettings settings_;
  BandCommands commands_;

  win::ComPtr<IUnknown> site_;
  win::ComPtr<IInputObjectSite> input_site_;
  win::ComPtr<IWebBrowser2> browser_;
  DWORD browser_cookie_ = 0;
  win::ComPtr<ITypeInfo> type_info_;
};

}  // namespace ph::band
