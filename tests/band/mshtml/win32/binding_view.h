// The page of a scenario reached as the band reaches it: the MSHTML binding over the stand-in of the browser's document.
#pragma once

#include "band/mshtml/win32/mshtml_binding.h"
#include "tests/band/mshtml/page_view.h"
#include "tests/support/win32/mshtml_standin/mshtml_standin.h"

namespace ph::test {

// A browser window showing stand-in pages; its events reach the engine through an IDispatch sink that
// routes them as the band object does.
class BindingView : public PageView {
 public:
  ~BindingView() override { docs.SetBrowser(nullptr); }

  void Show(std::shared_ptr<TreeDocument> top) override {
    pages_.push_back(std::make_unique<standin::Page>(top));
    if (browser) {
      standin::Show(browser.get(), *pages_.back());
    } else {
      browser = pages_.back()->Browser();
      docs.SetBrowser(browser.get());
    }
  }
  DocumentPtr TopDocument() override { return docs.TopDocument(); }
  DocumentEventsPort& events() override { return events_; }
  void Attach(DocumentEventSink& engine) override { engine_ = &engine; }
  int Hover(TreeNode* node) override { return page().FireMouseOver(Handle(node)); }
  int Click(TreeNode* node, bool shift, bool ctrl, bool alt) override {
    return page().FireMouseUp(Handle(node), shift, ctrl, alt);
  }
  std::size_t connections() override {
    std::size_t n = 0;
    for (const auto& p : pages_) n += p->connections();
    return n;
  }
  standin::Page& page() { return *pages_.back(); }

  win::ComPtr<IWebBrowser2> browser;
  mshtml::BrowserDocuments docs;

 private:
  static ElementPtr Handle(TreeNode* node) { return node ? node->document->Wrap(node) : nullptr; }

  DocumentEventSink* engine_ = nullptr;
  std::vector<std::unique_ptr<standin::Page>> pages_;
  win::ComPtr<IDispatch> sink_ = standin::MakeSink([this](DISPID dispid, DISPPARAMS* params) {
    if (engine_) docs.Route(dispid, params, *engine_);
  });
  mshtml::DocumentEvents events_{sink_.get()};
};

}  // namespace ph::test
