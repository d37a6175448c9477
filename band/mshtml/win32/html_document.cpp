// One MSHTML document behind the document port: body, address, title, tag lists and frames.
#include <mshtml.h>
#include <exdisp.h>
#include <oleidl.h>

#include "band/mshtml/win32/html_nodes.h"

namespace ph::mshtml {
namespace {

// Enumerators that never end are cut off here; no page embeds this many objects.
constexpr int kMaxEmbeddings = 4096;

}  // namespace

DocumentPtr WrapDocument(IHTMLDocument2* document, LifetimePtr lifetime) {
  if (!document) return nullptr;
  return std::make_shared<HtmlDocument>(win::ComPtr<IHTMLDocument2>::Share(document), std::move(lifetime));
}

DocumentPtr WrapDocument(IDispatch* document, LifetimePtr lifetime) {
  if (!document) return nullptr;
  auto html = Query<IHTMLDocument2>(win::ComPtr<IDispatch>::Share(document));
  return html ? std::make_shared<HtmlDocument>(std::move(html), std::move(lifetime)) : nullptr;
}

std::optional<WideString> TextOf(HRESULT hr, const win::UniqueBstr& text) {
  if (FAILED(hr)) return std::nullopt;
  return WideString(text.view());
}

ElementPtr HtmlDocument::Body() {
  if (!alive()) return nullptr;
  win::ComPtr<IHTMLElement> body;
  if (FAILED(doc_->get_body(body.put()))) return nullptr;
  return WrapElement(std::move(body), lifetime());
}

std::optional<WideString> HtmlDocument::Url() {
  if (!alive()) return std::nullopt;
  win::UniqueBstr url;
  return TextOf(doc_->get_URL(url.put()), url);
}

std::optional<WideString> HtmlDocument::Title() {
  if (!alive()) return std::nullopt;
  win::UniqueBstr title;
  return TextOf(doc_->get_title(title.put()), title);
}

CollectionPtr HtmlDocument::ElementsByTagName(WideView tag) {
  if (!alive()) return nullptr;
  auto doc3 = Query<IHTMLDocument3>(doc_);
  win::UniqueBstr name(tag);
  win::ComPtr<IHTMLElementCollection> items;
  if (!doc3 || !name || FAILED(doc3->getElementsByTagName(name.get(), items.put()))) return nullptr;
  return WrapCollection(std::move(items), lifetime());
}

std::vector<DocumentPtr> HtmlDocument::FrameDocuments() {
  std::vector<DocumentPtr> frames;
  if (!alive()) return frames;
  auto container = Query<IOleContainer>(doc_);
  win::ComPtr<IEnumUnknown> objects;
  if (!container || FAILED(container->EnumObjects(OLECONTF_EMBEDDINGS, objects.put())) || !objects) return frames;
  for (int n = 0; n < kMaxEmbeddings; ++n) {
    win::ComPtr<IUnknown> object;
    ULONG fetched = 0;
    if (objects->Next(1, object.put(), &fetched) != S_OK || fetched != 1) break;
    // Objects that are not frames, and frames that refuse their document (another domain), are left out.
    auto browser = Query<IWebBrowser2>(object);
    win::ComPtr<IDispatch> document;
    if (!browser || FAILED(browser->get_Document(document.put())) || !document) continue;
    auto html = Query<IHTMLDocument2>(document);
    if (html) frames.push_back(std::make_shared<HtmlDocument>(std::move(html), lifetime()));
  }
  return frames;
}

}  // namespace ph::mshtml
