// The handles of the MSHTML binding: one document, element, collection and inline style each.
#pragma once

#include <mshtml.h>

#include "band/mshtml/win32/mshtml_binding.h"
#include "platform/win32/com_ptr.h"

namespace ph::mshtml {

// Every handle first asks its lifetime; a handle without one never ends.
class Handle {
 protected:
  explicit Handle(LifetimePtr lifetime) : lifetime_(std::move(lifetime)) {}
  bool alive() const { return !lifetime_ || lifetime_->alive(); }
  const LifetimePtr& lifetime() const { return lifetime_; }

 private:
  LifetimePtr lifetime_;
};

class HtmlDocument : public Document, private Handle {
 public:
  HtmlDocument(win::ComPtr<IHTMLDocument2> doc, LifetimePtr lifetime) : Handle(std::move(lifetime)), doc_(std::move(doc)) {}
  ElementPtr Body() override;
  std::optional<WideString> Url() override;
  std::optional<WideString> Title() override;
  CollectionPtr ElementsByTagName(WideView tag) override;
  std::vector<DocumentPtr> FrameDocuments() override;

  using Handle::alive;
  // The COM document, for connections; it outlives the page's lifetime so that they can be undone.
  IHTMLDocument2* com() const { return doc_.get(); }

 private:
  win::ComPtr<IHTMLDocument2> doc_;
};

class HtmlElement : public Element, private Handle {
 public:
  HtmlElement(win::ComPtr<IHTMLElement> element, LifetimePtr lifetime)
      : Handle(std::move(lifetime)), element_(std::move(element)) {}

  std::optional<WideString> TagName() override;
  ElementPtr Parent() override;
  CollectionPtr Children() override;
  CollectionPtr ElementsByTagName(WideView tag) override;
  DocumentPtr OwnerDocument() override;
  long SourceIndex() override;
  bool Contains(Element& other) override;
  std::optional<WideString> InnerHtml() override;
  std::optional<WideString> OuterHtml() override;
  std::optional<WideString> InnerText() override;
  bool SetInnerHtml(WideView markup) override;
  bool SetOuterHtml(WideView markup) override;
  bool SetInnerText(WideView text) override;
  bool ScrollIntoView(bool align_to_top) override;
  StylePtr InlineStyle() override;
  CollectionPtr Rows() override;
  CollectionPtr Cells() override;
  std::optional<WideString> Rel() override;
  std::optional<WideString> Id() override;
  std::optional<WideString> ClassName() override;

 private:
  win::ComPtr<IHTMLElement> element_;
};

class HtmlCollection : public ElementCollection, private Handle {
 public:
  HtmlCollection(win::ComPtr<IHTMLElementCollection> items, LifetimePtr lifetime)
      : Handle(std::move(lifetime)), items_(std::move(items)) {}
  long Length() override;
  ElementPtr Item(long index) override;
  CollectionPtr Tags(WideView tag) override;

 private:
  win::ComPtr<IHTMLElementCollection> items_;
};

class HtmlStyle : public Style, private Handle {
 public:
  HtmlStyle(win::ComPtr<IHTMLStyle> style, LifetimePtr lifetime) : Handle(std::move(lifetime)), style_(std::move(style)) {}
  StyleValue BackgroundColor() override;
  bool SetBackgroundColor(const StyleValue& value) override;
  bool SetVisibility(WideView value) override;

 private:
  win::ComPtr<IHTMLStyle> style_;
};

// Wrappers of what a COM call handed over; null in, null out.
ElementPtr WrapElement(win::ComPtr<IHTMLElement> element, const LifetimePtr& lifetime);
CollectionPtr WrapCollection(win::ComPtr<IHTMLElementCollection> items, const LifetimePtr& lifetime);
// An object handed over as IDispatch, asked for the collection interface.
CollectionPtr WrapCollection(win::ComPtr<IDispatch> items, const LifetimePtr& lifetime);

// The interface J of an object, or null.
template <typename J, typename T>
win::ComPtr<J> Query(const win::ComPtr<T>& object) {
  win::ComPtr<J> out;
  if (object) object->QueryInterface(__uuidof(J), reinterpret_cast<void**>(out.put()));
  return out;
}

// Text out of a string property: nothing when the call failed; a null BSTR is the empty text.
std::optional<WideString> TextOf(HRESULT hr, const win::UniqueBstr& text);

}  // namespace ph::mshtml
