// The inside of the MSHTML stand-in: the COM object base, the state of a page and the object factories.
#pragma once

#include <atomic>
#include <map>

#include "tests/support/win32/mshtml_standin/mshtml_standin.h"
#include "tests/support/win32/mshtml_standin/mshtml_stubs.h"

namespace ph::test::standin {

// The per-document state of a page: what it does wrong and who is connected to its events.
struct DocumentState {
  Faults faults;
  std::map<DWORD, win::ComPtr<IDispatch>> sinks;
};

struct PageState {
  std::map<const ph::Document*, DocumentState> documents;
  DWORD next_cookie = 1;
  bool unloaded = false;
  int calls_after_unload = 0;
  std::vector<WrittenColour> colours;
  std::vector<long> scrolled;

  DocumentState& of(const ph::Document* document) { return documents[document]; }
  // True, and counted, when the page is gone: the caller then fails the call.
  bool Gone() {
    if (unloaded) ++calls_after_unload;
    return unloaded;
  }
};
using StatePtr = std::shared_ptr<PageState>;

extern std::atomic<long> g_live_objects;

// Reference counting and QueryInterface over the interfaces a class lists in Find.
template <typename... Bases>
class ComObject : public Bases... {
 public:
  ComObject() { ++g_live_objects; }
  virtual ~ComObject() { --g_live_objects; }
  ComObject(const ComObject&) = delete;
  ComObject& operator=(const ComObject&) = delete;

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    if (!out) return E_POINTER;
    *out = Find(iid);
    if (!*out) return E_NOINTERFACE;
    AddRef();
    return S_OK;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++refs_; }
  ULONG STDMETHODCALLTYPE Release() override {
    const ULONG left = --refs_;
    if (left == 0) delete this;
    return left;
  }

 protected:
  virtual void* Find(REFIID iid) = 0;

 private:
  ULONG refs_ = 1;
};

// A new object, held by the one reference it is born with, as interface I.
template <typename I, typename T, typename... Args>
win::ComPtr<I> Make(Args&&... args) {
  return win::ComPtr<I>::Adopt(static_cast<I*>(new T(std::forward<Args>(args)...)));
}

// Hands out a reference through an out parameter: S_OK, with null when there is nothing.
template <typename I>
HRESULT Out(win::ComPtr<I> object, I** out) {
  if (!out) return E_POINTER;
  *out = object.get();
  if (*out) (*out)->AddRef();
  return S_OK;
}

// The same object as IDispatch, with a reference of its own.
template <typename I>
win::ComPtr<IDispatch> AsDispatch(const win::ComPtr<I>& object) {
  return win::ComPtr<IDispatch>::Share(object.get());
}

// Hands out text as a new BSTR; fails when there is no text.
HRESULT OutText(const std::optional<WideString>& text, BSTR* out);
inline WideView ViewOf(BSTR text) {
  return WideView(reinterpret_cast<const char16_t*>(text), text ? ::SysStringLen(text) : 0);
}

win::ComPtr<IHTMLDocument2> MakeDocument(const StatePtr& state, DocumentPtr document);
win::ComPtr<IHTMLElement> MakeElement(const StatePtr& state, ElementPtr element);
win::ComPtr<IHTMLElementCollection> MakeCollection(const StatePtr& state, CollectionPtr items, const ph::Document* owner);
win::ComPtr<IHTMLStyle> MakeStyle(const StatePtr& state, StylePtr style);
win::ComPtr<IHTMLEventObj> MakeEvent(const StatePtr& state, ElementPtr source, long button, bool shift, bool ctrl, bool alt);
// A browser (a frame's or a window's) showing a document; refused makes its Document answer E_ACCESSDENIED.
win::ComPtr<IWebBrowser2> MakeBrowser(win::ComPtr<IHTMLDocument2> document, bool refused);

}  // namespace ph::test::standin
