// One MSHTML element behind the document port: its place in the tree, its markup and text, table parts.
#include "band/mshtml/win32/html_nodes.h"

namespace ph::mshtml {

ElementPtr WrapElement(win::ComPtr<IHTMLElement> element, const LifetimePtr& lifetime) {
  return element ? std::make_shared<HtmlElement>(std::move(element), lifetime) : nullptr;
}

std::optional<WideString> HtmlElement::TagName() {
  if (!alive()) return std::nullopt;
  win::UniqueBstr tag;
  return TextOf(element_->get_tagName(tag.put()), tag);
}

ElementPtr HtmlElement::Parent() {
  if (!alive()) return nullptr;
  win::ComPtr<IHTMLElement> parent;
  if (FAILED(element_->get_parentElement(parent.put()))) return nullptr;
  return WrapElement(std::move(parent), lifetime());
}

CollectionPtr HtmlElement::Children() {
  if (!alive()) return nullptr;
  win::ComPtr<IDispatch> children;
  if (FAILED(element_->get_children(children.put()))) return nullptr;
  return WrapCollection(std::move(children), lifetime());
}

CollectionPtr HtmlElement::ElementsByTagName(WideView tag) {
  if (!alive()) return nullptr;
  auto element2 = Query<IHTMLElement2>(element_);
  win::UniqueBstr name(tag);
  win::ComPtr<IHTMLElementCollection> items;
  if (!element2 || !name || FAILED(element2->getElementsByTagName(name.get(), items.put()))) return nullptr;
  return WrapCollection(std::move(items), lifetime());
}

DocumentPtr HtmlElement::OwnerDocument() {
  if (!alive()) return nullptr;
  win::ComPtr<IDispatch> document;
  if (FAILED(element_->get_document(document.put())) || !document) return nullptr;
  return WrapDocument(document.get(), lifetime());
}

long HtmlElement::SourceIndex() {
  long index = -1;
  if (!alive() || FAILED(element_->get_sourceIndex(&index))) return -1;
  return index;
}

bool HtmlElement::Contains(Element& other) {
  auto* html = dynamic_cast<HtmlElement*>(&other);
  VARIANT_BOOL result = VARIANT_FALSE;
  if (!alive() || !html || !html->alive()) return false;
  return SUCCEEDED(element_->contains(html->element_.get(), &result)) && result != VARIANT_FALSE;
}

std::optional<WideString> HtmlElement::InnerHtml() {
  if (!alive()) return std::nullopt;
  win::UniqueBstr markup;
  return TextOf(element_->get_innerHTML(markup.put()), markup);
}

std::optional<WideString> HtmlElement::OuterHtml() {
  if (!alive()) return std::nullopt;
  win::UniqueBstr markup;
  return TextOf(element_->get_outerHTML(markup.put()), markup);
}

std::optional<WideString> HtmlElement::InnerText() {
  if (!alive()) return std::nullopt;
  win::UniqueBstr text;
  return TextOf(element_->get_innerText(text.put()), text);
}

bool HtmlElement::SetInnerHtml(WideView markup) {
  win::UniqueBstr value(markup);
  return alive() && value && SUCCEEDED(element_->put_innerHTML(value.get()));
}

bool HtmlElement::SetOuterHtml(WideView markup) {
  win::UniqueBstr value(markup);
  return alive() && value && SUCCEEDED(element_->put_outerHTML(value.get()));
}

bool HtmlElement::SetInnerText(WideView text) {
  win::UniqueBstr value(text);
  return alive() && value && SUCCEEDED(element_->put_innerText(value.get()));
}

bool HtmlElement::ScrollIntoView(bool align_to_top) {
  if (!alive()) return false;
  VARIANT top;
  ::VariantInit(&top);
  V_VT(&top) = VT_BOOL;
  V_BOOL(&top) = align_to_top ? VARIANT_TRUE : VARIANT_FALSE;
  return SUCCEEDED(element_->scrollIntoView(top));
}

StylePtr HtmlElement::InlineStyle() {
  if (!alive()) return nullptr;
  win::ComPtr<IHTMLStyle> style;
  if (FAILED(element_->get_style(style.put())) || !style) return nullptr;
  return std::make_shared<HtmlStyle>(std::move(style), lifetime());
}

CollectionPtr HtmlElement::Rows() {
  if (!alive()) return nullptr;
  auto table = Query<IHTMLTable>(element_);
  win::ComPtr<IHTMLElementCollection> rows;
  if (!table || FAILED(table->get_rows(rows.put()))) return nullptr;
  return WrapCollection(std::move(rows), lifetime());
}

CollectionPtr HtmlElement::Cells() {
  if (!alive()) return nullptr;
  auto row = Query<IHTMLTableRow>(element_);
  win::ComPtr<IHTMLElementCollection> cells;
  if (!row || FAILED(row->get_cells(cells.put()))) return nullptr;
  return WrapCollection(std::move(cells), lifetime());
}

std::optional<WideString> HtmlElement::Rel() {
  if (!alive()) return std::nullopt;
  auto link = Query<IHTMLLinkElement>(element_);
  if (!link) return std::nullopt;
  win::UniqueBstr rel;
  return TextOf(link->get_rel(rel.put()), rel);
}

std::optional<WideString> HtmlElement::Id() {
  if (!alive()) return std::nullopt;
  win::UniqueBstr id;
  return TextOf(element_->get_id(id.put()), id);
}

std::optional<WideString> HtmlElement::ClassName() {
  if (!alive()) return std::nullopt;
  win::UniqueBstr names;
  return TextOf(element_->get_className(names.put()), names);
}

}  // namespace ph::mshtml
