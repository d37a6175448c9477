// A live MSHTML element collection behind the document port: length, item by position, members by tag.
#include "band/mshtml/win32/html_nodes.h"

namespace ph::mshtml {
namespace {

VARIANT Number(long n) {
  VARIANT v;
  ::VariantInit(&v);
  V_VT(&v) = VT_I4;
  V_I4(&v) = n;
  return v;
}

}  // namespace

CollectionPtr WrapCollection(win::ComPtr<IHTMLElementCollection> items, const LifetimePtr& lifetime) {
  return items ? std::make_shared<HtmlCollection>(std::move(items), lifetime) : nullptr;
}

CollectionPtr WrapCollection(win::ComPtr<IDispatch> items, const LifetimePtr& lifetime) {
  return WrapCollection(Query<IHTMLElementCollection>(items), lifetime);
}

long HtmlCollection::Length() {
  long length = 0;
  if (!alive() || FAILED(items_->get_length(&length)) || length < 0) return 0;
  return length;
}

ElementPtr HtmlCollection::Item(long index) {
  if (!alive() || index < 0) return nullptr;
  win::ComPtr<IDispatch> item;
  if (FAILED(items_->item(Number(index), Number(0), item.put()))) return nullptr;
  return WrapElement(Query<IHTMLElement>(item), lifetime());
}

CollectionPtr HtmlCollection::Tags(WideView tag) {
  if (!alive()) return nullptr;
  win::UniqueVariant name(win::UniqueBstr{tag});
  win::ComPtr<IDispatch> members;
  if (V_BSTR(name.get()) == nullptr || FAILED(items_->tags(*name.get(), members.put()))) return nullptr;
  return WrapCollection(std::move(members), lifetime());
}

}  // namespace ph::mshtml
