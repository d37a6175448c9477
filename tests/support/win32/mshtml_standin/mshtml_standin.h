// A stand-in for the browser's HTML document in tests: COM objects with the MSHTML vtables over a tree built in code.
//
// Wine has no HTML engine, so tests of code that speaks MSHTML build their page as a document of the
// engine's port (a TreeDocument, with its frames in TreeDocument::frames) and wrap it here. The
// stand-in answers through the real interfaces of <mshtml.h>, <exdisp.h> and <ocidl.h>:
//   IHTMLDocument2/3 (body, URL, title, getElementsByTagName), IOleContainer::EnumObjects with one
//   IWebBrowser2 per frame, IConnectionPointContainer with the HTMLDocumentEvents2 point,
//   IHTMLElement/2 (tree, markup, text, style, contains, scrollIntoView, getElementsByTagName),
//   IHTMLElementCollection (live: length, item, tags), IHTMLStyle (backgroundColor, visibility),
//   IHTMLTable (rows), IHTMLTableRow (cells), IHTMLLinkElement (rel), IHTMLEventObj.
// Every other method answers E_NOTIMPL. Element objects are made afresh on every call (the real
// browser hands out the same object for an element); nothing may rely on their identity.
//
//   auto doc = TreeDocument::Make(u"http://site.test/");        // tests/band/engine/tree_document.h
//   TreeNode* cell = doc->body()->Add("TABLE")->Add("TR")->Add("TD", u"text");
//   standin::Page page(doc);
//   browser_site_uses(page.Browser());                            // or page.Document()
//   page.FireMouseOver(doc->Wrap(cell));                          // to every connected sink
//   page.FireMouseUp(doc->Wrap(cell), /*shift=*/false, /*ctrl=*/true, /*alt=*/false);
#pragma once

#include <windows.h>
#include <exdisp.h>
#include <mshtml.h>

#include <functional>
#include <map>
#include <memory>

#include "band/engine/document.h"
#include "platform/win32/com_ptr.h"

namespace ph::test::standin {

// What one document of the page does wrong, to show how its callers cope.
struct Faults {
  bool refuse_body = false;         // IHTMLDocument2::get_body fails (E_ACCESSDENIED)
  bool refuse_access = false;       // the frame that shows it refuses its Document (another domain)
  long item_fails_from = -1;        // item() of its collections fails from this position on
  bool foreign_embedding = false;   // an embedded object that is no frame is enumerated before its frames
  bool refuse_connection = false;   // its HTMLDocumentEvents2 point refuses Advise
};

// A background colour as it was written through IHTMLStyle::put_backgroundColor.
struct WrittenColour {
  VARTYPE type = VT_EMPTY;
  bool null_string = false;  // VT_BSTR holding a null BSTR
  WideString text;
};

struct PageState;

// One page: the top document and the documents of its frames (found through FrameDocuments()).
class Page {
 public:
  explicit Page(DocumentPtr top);
  ~Page();
  Page(const Page&) = delete;
  Page& operator=(const Page&) = delete;

  // The top document; the same COM object on every call, as a browser's Document is.
  win::ComPtr<IHTMLDocument2> Document();
  // A browser window that shows this page (its Document property is Document()).
  win::ComPtr<IWebBrowser2> Browser();

  // The faults of one document of the page (the top document or one reached through frames).
  Faults& faults(const ph::Document& document);

  // Mouse events through the HTMLDocumentEvents2 point of the element's document (of the top document
  // when element is null, which gives an event object without a source element). The result is the
  // number of sinks invoked.
  int FireMouseOver(const ElementPtr& element);
  int FireMouseUp(const ElementPtr& element, bool shift, bool ctrl, bool alt, long button = 1);
  // Connections held now by the points of all documents of the page.
  std::size_t connections() const;

  // The page goes away (the browser navigated): every call on its documents, elements, collections and
  // styles fails from now on and is counted; connections can still be undone.
  void Unload();
  int calls_after_unload() const;

  // Every background colour written, in order.
  const std::vector<WrittenColour>& colours_written() const;
  // The source indices of the elements scrolled into view, in order.
  const std::vector<long>& scrolled() const;

 private:
  int Fire(DISPID dispid, const ElementPtr& element, bool shift, bool ctrl, bool alt, long button);

  std::shared_ptr<PageState> state_;
  const ph::Document* top_document_;
  win::ComPtr<IHTMLDocument2> top_;
};

// Shows a page in a browser object; for a browser made by Page::Browser, replaces what it shows.
bool Show(IWebBrowser2* browser, Page& page);

// An IDispatch whose Invoke hands the DISPID and the arguments to the function (an event sink).
win::ComPtr<IDispatch> MakeSink(std::function<void(DISPID, DISPPARAMS*)> on_invoke);

// The stand-in COM objects alive now (sinks included), to show that callers release what they take.
long LiveObjects();

}  // namespace ph::test::standin
