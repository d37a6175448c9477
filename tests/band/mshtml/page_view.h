// The page of an engine scenario as the engine reaches it: the tree itself, or the tree through a binding.
#pragma once

#include <gtest/gtest.h>

#include <map>

#include "band/engine/element_path.h"
#include "band/engine/selection_engine.h"
#include "platform/code_page.h"
#include "platform/memory_registry.h"
#include "tests/band/engine/engine_fakes.h"
#include "tests/band/engine/tree_document.h"

namespace ph::test {

// The browser window of a scenario: what it shows, the event connection, and the user's mouse.
class PageView : public BrowserPort {
 public:
  // From now on the browser shows this tree (and the trees in its frames).
  virtual void Show(std::shared_ptr<TreeDocument> top) = 0;
  virtual DocumentEventsPort& events() = 0;
  // The engine that the events of connected documents reach.
  virtual void Attach(DocumentEventSink& engine) = 0;
  // The mouse over a node, or released over it with keys held (a null node: over no element);
  // the result is the number of connections the event reached.
  virtual int Hover(TreeNode* node) = 0;
  virtual int Click(TreeNode* node, bool shift, bool ctrl, bool alt) = 0;
  virtual std::size_t connections() = 0;
};

using ViewMaker = std::unique_ptr<PageView> (*)();

// The tree as the engine's document, with events delivered straight to the connected sinks.
class DirectView : public PageView, public DocumentEventsPort {
 public:
  void Show(std::shared_ptr<TreeDocument> top) override { top_ = std::move(top); }
  DocumentPtr TopDocument() override { return top_; }
  DocumentEventsPort& events() override { return *this; }
  void Attach(DocumentEventSink&) override {}
  std::optional<std::uint32_t> Advise(Document& document, DocumentEventSink& sink) override {
    sinks_[next_] = {&document, &sink};
    return next_++;
  }
  void Unadvise(Document& document, std::uint32_t cookie) override {
    auto it = sinks_.find(cookie);
    if (it != sinks_.end() && it->second.first == &document) sinks_.erase(it);
  }
  int Hover(TreeNode* node) override { return Deliver(node, MouseEvent{}, false); }
  int Click(TreeNode* node, bool shift, bool ctrl, bool alt) override {
    return Deliver(node, MouseEvent{nullptr, 1, shift, ctrl, alt}, true);
  }
  std::size_t connections() override { return sinks_.size(); }

 private:
  int Deliver(TreeNode* node, MouseEvent event, bool click) {
    Document* document = node ? static_cast<Document*>(node->document) : top_.get();
    event.source = node ? node->document->Wrap(node) : nullptr;
    std::vector<DocumentEventSink*> sinks;
    for (const auto& [cookie, connection] : sinks_)
      if (connection.first == document) sinks.push_back(connection.second);
    for (DocumentEventSink* sink : sinks) click ? sink->OnClick(event) : sink->OnHover(event);
    return static_cast<int>(sinks.size());
  }

  std::shared_ptr<TreeDocument> top_;
  std::map<std::uint32_t, std::pair<Document*, DocumentEventSink*>> sinks_;
  std::uint32_t next_ = 1;
};

// The engine of one browser window on a view, with files, timers, toolbar and controller in memory.
struct ScenarioBand {
  explicit ScenarioBand(PageView& page) : view(page) { view.Attach(engine); }

  PageView& view;
  MemoryFiles files;
  SimpleUrls urls;
  Windows1252 code_page;
  MemoryRegistry registry;
  RecordingToolbar toolbar;
  RecordingTimers timers;
  RecordingMessages messages;
  RecordingLink link;
  SelectionEngine engine{EnginePorts{view, toolbar, view.events(), timers, messages, link, registry, files, urls, code_page}};

  // The mouse moves over a node and is released there with the keys held.
  void Pick(TreeNode* node, bool shift, bool ctrl, bool alt) {
    view.Hover(node);
    view.Click(node, shift, ctrl, alt);
  }
};

// The handle the view's page gives for a node of the tree: the same document of the page's list,
// then from its body down child by child.
inline ElementPtr Reach(PageView& view, const std::shared_ptr<TreeDocument>& tree_top, TreeNode* node) {
  const DocumentList trees = CollectDocuments(tree_top);
  const DocumentList documents = CollectDocuments(view.TopDocument());
  std::vector<long> positions;
  for (TreeNode* n = node; n && n->parent && n != n->document->body(); n = n->parent) {
    const auto& siblings = n->parent->children;
    for (std::size_t i = 0; i < siblings.size(); ++i)
      if (siblings[i].get() == n) positions.insert(positions.begin(), static_cast<long>(i));
  }
  for (std::size_t d = 0; d < trees.size() && d < documents.size(); ++d) {
    if (trees[d].get() != node->document) continue;
    ElementPtr element = documents[d]->Body();
    for (long i : positions) {
      auto children = element ? element->Children() : nullptr;
      element = children ? children->Item(i) : nullptr;
    }
    return element;
  }
  return nullptr;
}

// The engine's scenarios, run once per view: what the engine does must not depend on how the page is reached.
class EngineScenario : public ::testing::TestWithParam<ViewMaker> {
 protected:
  std::unique_ptr<PageView> view_ = GetParam()();
  ScenarioBand band_{*view_};
};

}  // namespace ph::test
