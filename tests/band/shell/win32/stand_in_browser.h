// A stand-in browser object: IWebBrowser2 with a Document, and a DWebBrowserEvents2 connection point.
#pragma once

#include <windows.h>
#include <exdisp.h>
#include <ocidl.h>

#include <vector>

#include "platform/win32/com_ptr.h"
#include "tests/support/win32/mshtml_standin/mshtml_stubs.h"

namespace ph::test {

// The stubs answer E_NOTIMPL for every method that is not overridden here.
class StandInBrowser : public standin::IWebBrowser2Stubs,
                       public standin::IConnectionPointContainerStubs,
                       public standin::IConnectionPointStubs {
 public:
  static win::ComPtr<StandInBrowser> Make();

  // The object the Document property answers (null: none).
  void SetDocument(IDispatch* document);
  // Fires an event with the arguments the browser gives it at every connected sink. For
  // BeforeNavigate2 and NewWindow2, whether a sink set the Cancel argument. BeforeNavigate2 is about
  // the browser itself, or about the browser of a frame when one is given.
  bool FireBeforeNavigate2(IDispatch* frame = nullptr);
  bool FireNewWindow2();
  void FireDocumentComplete();
  std::size_t connections() const;

  // IUnknown
  STDMETHODIMP QueryInterface(REFIID iid, void** out) override;
  STDMETHODIMP_(ULONG) AddRef() override;
  STDMETHODIMP_(ULONG) Release() override;

  // IWebBrowser2: the document.
  STDMETHODIMP get_Document(IDispatch** document) override;
  // IConnectionPointContainer: the one point of DWebBrowserEvents2.
  STDMETHODIMP FindConnectionPoint(REFIID iid, IConnectionPoint** point) override;
  // IConnectionPoint
  STDMETHODIMP GetConnectionInterface(IID* iid) override;
  STDMETHODIMP GetConnectionPointContainer(IConnectionPointContainer** container) override;
  STDMETHODIMP Advise(IUnknown* sink, DWORD* cookie) override;
  STDMETHODIMP Unadvise(DWORD cookie) override;

 private:
  StandInBrowser() = default;
  // Calls every sink with the arguments, last argument first as DISPPARAMS holds them.
  void Fire(DISPID dispid, VARIANTARG* args, UINT count);

  LONG refs_ = 1;
  win::ComPtr<IDispatch> document_;
  std::vector<win::ComPtr<IDispatch>> sinks_;  // index + 1 is the cookie; released sinks leave a gap
};

}  // namespace ph::test
