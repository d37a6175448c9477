// The stand-in's elements, live collections, inline styles and event objects over the tree's handles.
#include "tests/support/win32/mshtml_standin/standin_objects.h"

namespace ph::test::standin {
namespace {

class ElementObject
    : public ComObject<IHTMLElementStubs, IHTMLElement2Stubs, IHTMLTableStubs, IHTMLTableRowStubs, IHTMLLinkElementStubs> {
 public:
  ElementObject(StatePtr state, ElementPtr element) : state_(std::move(state)), element_(std::move(element)) {}
  const ElementPtr& element() const { return element_; }

  // IHTMLElement
  HRESULT STDMETHODCALLTYPE get_tagName(BSTR* p) override { return state_->Gone() ? E_FAIL : OutText(element_->TagName(), p); }
  HRESULT STDMETHODCALLTYPE get_parentElement(IHTMLElement** p) override {
    if (state_->Gone()) return E_FAIL;
    return Out(MakeElement(state_, element_->Parent()), p);
  }
  HRESULT STDMETHODCALLTYPE get_children(IDispatch** p) override {
    if (state_->Gone()) return E_FAIL;
    auto items = MakeCollection(state_, element_->Children(), Owner());
    return Out(AsDispatch(items), p);
  }
  HRESULT STDMETHODCALLTYPE get_document(IDispatch** p) override {
    if (state_->Gone()) return E_FAIL;
    auto document = MakeDocument(state_, element_->OwnerDocument());
    return Out(AsDispatch(document), p);
  }
  HRESULT STDMETHODCALLTYPE get_sourceIndex(LONG* p) override {
    if (state_->Gone()) return E_FAIL;
    if (!p) return E_POINTER;
    *p = element_->SourceIndex();
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE contains(IHTMLElement* child, VARIANT_BOOL* p) override {
    if (state_->Gone()) return E_FAIL;
    auto* other = dynamic_cast<ElementObject*>(child);
    if (!p || !other) return E_INVALIDARG;
    *p = element_->Contains(*other->element_) ? VARIANT_TRUE : VARIANT_FALSE;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_innerHTML(BSTR* p) override { return state_->Gone() ? E_FAIL : OutText(element_->InnerHtml(), p); }
  HRESULT STDMETHODCALLTYPE get_outerHTML(BSTR* p) override { return state_->Gone() ? E_FAIL : OutText(element_->OuterHtml(), p); }
  HRESULT STDMETHODCALLTYPE get_innerText(BSTR* p) override { return state_->Gone() ? E_FAIL : OutText(element_->InnerText(), p); }
  HRESULT STDMETHODCALLTYPE put_innerHTML(BSTR v) override {
    return !state_->Gone() && element_->SetInnerHtml(ViewOf(v)) ? S_OK : E_FAIL;
  }
  HRESULT STDMETHODCALLTYPE put_outerHTML(BSTR v) override {
    return !state_->Gone() && element_->SetOuterHtml(ViewOf(v)) ? S_OK : E_FAIL;
  }
  HRESULT STDMETHODCALLTYPE put_innerText(BSTR v) override {
    return !state_->Gone() && element_->SetInnerText(ViewOf(v)) ? S_OK : E_FAIL;
  }
  HRESULT STDMETHODCALLTYPE scrollIntoView(VARIANT start) override {
    if (state_->Gone()) return E_FAIL;
    const bool top = V_VT(&start) != VT_BOOL || V_BOOL(&start) != VARIANT_FALSE;
    if (!element_->ScrollIntoView(top)) return E_FAIL;
    if (top) state_->scrolled.push_back(element_->SourceIndex());
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_style(IHTMLStyle** p) override {
    if (state_->Gone()) return E_FAIL;
    return Out(MakeStyle(state_, element_->InlineStyle()), p);
  }

  // IHTMLElement2
  HRESULT STDMETHODCALLTYPE getElementsByTagName(BSTR v, IHTMLElementCollection** p) override {
    if (state_->Gone()) return E_FAIL;
    return Out(MakeCollection(state_, element_->ElementsByTagName(ViewOf(v)), Owner()), p);
  }

  // IHTMLTable, IHTMLTableRow, IHTMLLinkElement (asked for only on their tags)
  HRESULT STDMETHODCALLTYPE get_rows(IHTMLElementCollection** p) override {
    if (state_->Gone()) return E_FAIL;
    return Out(MakeCollection(state_, element_->Rows(), Owner()), p);
  }
  HRESULT STDMETHODCALLTYPE get_cells(IHTMLElementCollection** p) override {
    if (state_->Gone()) return E_FAIL;
    return Out(MakeCollection(state_, element_->Cells(), Owner()), p);
  }
  HRESULT STDMETHODCALLTYPE get_rel(BSTR* p) override { return state_->Gone() ? E_FAIL : OutText(element_->Rel(), p); }

 protected:
  void* Find(REFIID iid) override {
    if (iid == IID_IUnknown || iid == IID_IDispatch || iid == __uuidof(IHTMLElement)) return static_cast<IHTMLElement*>(this);
    if (iid == __uuidof(IHTMLElement2)) return static_cast<IHTMLElement2*>(this);
    const auto tag = element_->TagName().value_or(u"");
    if (iid == __uuidof(IHTMLTable) && TagEquals(tag, "table")) return static_cast<IHTMLTable*>(this);
    if (iid == __uuidof(IHTMLTableRow) && TagEquals(tag, "tr")) return static_cast<IHTMLTableRow*>(this);
    if (iid == __uuidof(IHTMLLinkElement) && TagEquals(tag, "link")) return static_cast<IHTMLLinkElement*>(this);
    return nullptr;
  }

 private:
  const ph::Document* Owner() { return element_->OwnerDocument().get(); }

  StatePtr state_;
  ElementPtr element_;
};

class CollectionObject : public ComObject<IHTMLElementCollectionStubs> {
 public:
  CollectionObject(StatePtr state, CollectionPtr items, const ph::Document* owner)
      : state_(std::move(state)), items_(std::move(items)), owner_(owner) {}

  HRESULT STDMETHODCALLTYPE get_length(LONG* p) override {
    if (state_->Gone()) return E_FAIL;
    if (!p) return E_POINTER;
    *p = items_->Length();
    return S_OK;
  }
  // A number names a position; names of elements (id, name) are not kept by the tree.
  HRESULT STDMETHODCALLTYPE item(VARIANT name, VARIANT index, IDispatch** p) override {
    if (state_->Gone()) return E_FAIL;
    VARIANT position;
    ::VariantInit(&position);
    if (FAILED(::VariantChangeType(&position, &name, 0, VT_I4))) return E_INVALIDARG;
    const long fails_from = state_->of(owner_).faults.item_fails_from;
    if (fails_from >= 0 && V_I4(&position) >= fails_from) return E_FAIL;
    auto element = MakeElement(state_, items_->Item(V_I4(&position)));
    return Out(AsDispatch(element), p);
  }
  HRESULT STDMETHODCALLTYPE tags(VARIANT tag, IDispatch** p) override {
    if (state_->Gone()) return E_FAIL;
    if (V_VT(&tag) != VT_BSTR) return E_INVALIDARG;
    auto members = MakeCollection(state_, items_->Tags(ViewOf(V_BSTR(&tag))), owner_);
    return Out(AsDispatch(members), p);
  }

 protected:
  void* Find(REFIID iid) override {
    if (iid == IID_IUnknown || iid == IID_IDispatch || iid == __uuidof(IHTMLElementCollection))
      return static_cast<IHTMLElementCollection*>(this);
    return nullptr;
  }

 private:
  StatePtr state_;
  CollectionPtr items_;
  const ph::Document* owner_;
};

class StyleObject : public ComObject<IHTMLStyleStubs> {
 public:
  StyleObject(StatePtr state, StylePtr style) : state_(std::move(state)), style_(std::move(style)) {}

  // No value is a null string, as the browser reports it.
  HRESULT STDMETHODCALLTYPE get_backgroundColor(VARIANT* p) override {
    if (state_->Gone()) return E_FAIL;
    if (!p) return E_POINTER;
    ::VariantInit(p);
    V_VT(p) = VT_BSTR;
    V_BSTR(p) = nullptr;
    const StyleValue value = style_->BackgroundColor();
    if (value) return OutText(*value, &V_BSTR(p));
    return S_OK;
  }
  // Only strings are colours here; a null or empty string removes the colour.
  HRESULT STDMETHODCALLTYPE put_backgroundColor(VARIANT v) override {
    if (state_->Gone()) return E_FAIL;
    WrittenColour written;
    written.type = V_VT(&v);
    if (V_VT(&v) == VT_BSTR) {
      written.null_string = V_BSTR(&v) == nullptr;
      written.text = WideString(ViewOf(V_BSTR(&v)));
    }
    state_->colours.push_back(written);
    if (V_VT(&v) != VT_BSTR) return E_INVALIDARG;
    return style_->SetBackgroundColor(written.text.empty() ? StyleValue() : StyleValue(written.text)) ? S_OK : E_FAIL;
  }
  HRESULT STDMETHODCALLTYPE put_visibility(BSTR v) override {
    return !state_->Gone() && style_->SetVisibility(ViewOf(v)) ? S_OK : E_FAIL;
  }

 protected:
  void* Find(REFIID iid) override {
    if (iid == IID_IUnknown || iid == IID_IDispatch || iid == __uuidof(IHTMLStyle)) return static_cast<IHTMLStyle*>(this);
    return nullptr;
  }

 private:
  StatePtr state_;
  StylePtr style_;
};

class EventObject : public ComObject<IHTMLEventObjStubs> {
 public:
  EventObject(StatePtr state, ElementPtr source, long button, bool shift, bool ctrl, bool alt)
      : state_(std::move(state)), source_(std::move(source)), button_(button), shift_(shift), ctrl_(ctrl), alt_(alt) {}

  HRESULT STDMETHODCALLTYPE get_srcElement(IHTMLElement** p) override { return Out(MakeElement(state_, source_), p); }
  HRESULT STDMETHODCALLTYPE get_button(LONG* p) override { return Value(button_, p); }
  HRESULT STDMETHODCALLTYPE get_shiftKey(VARIANT_BOOL* p) override { return Key(shift_, p); }
  HRESULT STDMETHODCALLTYPE get_ctrlKey(VARIANT_BOOL* p) override { return Key(ctrl_, p); }
  HRESULT STDMETHODCALLTYPE get_altKey(VARIANT_BOOL* p) override { return Key(alt_, p); }

 protected:
  void* Find(REFIID iid) override {
    if (iid == IID_IUnknown || iid == IID_IDispatch || iid == __uuidof(IHTMLEventObj)) return static_cast<IHTMLEventObj*>(this);
    return nullptr;
  }

 private:
  static HRESULT Value(long value, LONG* p) {
    if (!p) return E_POINTER;
    *p = value;
    return S_OK;
  }
  static HRESULT Key(bool held, VARIANT_BOOL* p) {
    if (!p) return E_POINTER;
    *p = held ? VARIANT_TRUE : VARIANT_FALSE;
    return S_OK;
  }

  StatePtr state_;
  ElementPtr source_;
  long button_;
  bool shift_, ctrl_, alt_;
};

}  // namespace

std::atomic<long> g_live_objects{0};

HRESULT OutText(const std::optional<WideString>& text, BSTR* out) {
  if (!out) return E_POINTER;
  *out = nullptr;
  if (!text) return E_FAIL;
  *out = ::SysAllocStringLen(reinterpret_cast<const OLECHAR*>(text->data()), static_cast<UINT>(text->size()));
  return *out ? S_OK : E_OUTOFMEMORY;
}

win::ComPtr<IHTMLElement> MakeElement(const StatePtr& state, ElementPtr element) {
  if (!element) return {};
  return Make<IHTMLElement, ElementObject>(state, std::move(element));
}

win::ComPtr<IHTMLElementCollection> MakeCollection(const StatePtr& state, CollectionPtr items, const ph::Document* owner) {
  if (!items) return {};
  return Make<IHTMLElementCollection, CollectionObject>(state, std::move(items), owner);
}

win::ComPtr<IHTMLStyle> MakeStyle(const StatePtr& state, StylePtr style) {
  if (!style) return {};
  return Make<IHTMLStyle, StyleObject>(state, std::move(style));
}

win::ComPtr<IHTMLEventObj> MakeEvent(const StatePtr& state, ElementPtr source, long button, bool shift, bool ctrl, bool alt) {
  return Make<IHTMLEventObj, EventObject>(state, std::move(source), button, shift, ctrl, alt);
}

}  // namespace ph::test::standin
