// The elements of the in-memory document: tree, markup, text and inline style, read and written in the node tree.
#include "band/memdoc/memory_document.h"

#include "band/html/html_parser.h"
#include "band/engine/inline_style.h"
#include "band/html/markup_writer.h"
#include "band/html/memory_node.h"
#include "band/html/rendered_text.h"
#include "band/memdoc/memory_collection.h"

namespace ph {
namespace {

using NodePtr = std::shared_ptr<MemoryNode>;

// The inline style lives in the element's style attribute, as "name: value" declarations.
class MemoryStyle : public Style {
 public:
  MemoryStyle(std::shared_ptr<MemoryDocument> doc, NodePtr node) : doc_(std::move(doc)), node_(std::move(node)) {}

  StyleValue BackgroundColor() override { return Get(u"background-color"); }
  bool SetBackgroundColor(const StyleValue& value) override { return Put(u"background-color", value.value_or(u"")); }
  bool SetVisibility(WideView value) override { return Put(u"visibility", WideString(value)); }

 private:
  StyleValue Get(WideView name) const { return StyleProperty(node_->Attribute(u"style"), name); }

  bool Put(WideView name, WideString value) {
    WideString text = WithStyleProperty(node_->Attribute(u"style"), name, std::move(value));
    if (text.empty()) {
      node_->RemoveAttribute(u"style");
    } else {
      node_->SetAttribute(u"style", std::move(text));
    }
    doc_->Changed();
    return true;
  }

  std::shared_ptr<MemoryDocument> doc_;
  NodePtr node_;
};

class MemoryElement : public Element {
 public:
  MemoryElement(std::shared_ptr<MemoryDocument> doc, NodePtr node) : doc_(std::move(doc)), node_(std::move(node)) {}

  std::optional<WideString> TagName() override { return node_->tag; }

  ElementPtr Parent() override {
    MemoryNode* p = node_->parent;
    if (!p || !p->IsElement()) return nullptr;
    return doc_->Wrap(p->shared_from_this());
  }

  CollectionPtr Children() override { return Collection(NodeList::kChildren); }
  CollectionPtr ElementsByTagName(WideView tag) override {
    return MakeMemoryCollection(doc_, NodeList::kDescendants, node_, tag);
  }
  DocumentPtr OwnerDocument() override { return doc_; }
  long SourceIndex() override { return doc_->SourceIndexOf(*node_); }

  bool Contains(Element& other) override {
    auto* o = dynamic_cast<MemoryElement*>(&other);
    if (!o) return false;
    for (const MemoryNode* n = o->node_.get(); n; n = n->parent)
      if (n == node_.get()) return true;
    return false;
  }

  std::optional<WideString> InnerHtml() override { return InnerMarkup(*node_); }
  std::optional<WideString> OuterHtml() override { return OuterMarkup(*node_); }
  std::optional<WideString> InnerText() override { return RenderedText(*node_); }

  bool SetInnerHtml(WideView markup) override {
    ReplaceChildren(*node_, ParseFragment(markup, node_->tag));
    doc_->Changed();
    return true;
  }
  bool SetOuterHtml(WideView markup) override {
    MemoryNode* parent = node_->parent;
    if (!parent || !parent->IsElement()) return false;
    const bool done = ReplaceNode(*node_, ParseFragment(markup, parent->tag));
    doc_->Changed();
    return done;
  }
  bool SetInnerText(WideView text) override {
    auto t = std::make_shared<MemoryNode>();
    t->type = MemoryNode::Type::kText;
    t->data = WideString(text);
    std::vector<NodePtr> nodes;
    if (!text.empty()) nodes.push_back(std::move(t));
    ReplaceChildren(*node_, std::move(nodes));
    doc_->Changed();
    return true;
  }

  bool ScrollIntoView(bool align_to_top) override {
    doc_->RecordScroll(SourceIndex());
    return true;
  }
  StylePtr InlineStyle() override { return std::make_shared<MemoryStyle>(doc_, node_); }

  CollectionPtr Rows() override { return node_->tag == u"TABLE" ? Collection(NodeList::kRows) : nullptr; }
  CollectionPtr Cells() override { return node_->tag == u"TR" ? Collection(NodeList::kCells) : nullptr; }
  std::optional<WideString> Rel() override {
    if (node_->tag != u"LINK") return std::nullopt;
    const WideString* rel = node_->Attribute(u"rel");
    return rel ? *rel : WideString();
  }

  std::optional<WideString> Id() override { return AttributeText(u"id"); }
  std::optional<WideString> ClassName() override { return AttributeText(u"class"); }

  const NodePtr& node() const { return node_; }

 private:
  WideString AttributeText(std::u16string_view name) const {
    const WideString* value = node_->Attribute(name);
    return value ? *value : WideString();
  }

  CollectionPtr Collection(NodeList kind) { return MakeMemoryCollection(doc_, kind, node_); }

  std::shared_ptr<MemoryDocument> doc_;
  NodePtr node_;
};

}  // namespace

ElementPtr MemoryDocument::Wrap(const std::shared_ptr<MemoryNode>& node) {
  if (!node || !node->IsElement()) return nullptr;
  return std::make_shared<MemoryElement>(shared_from_this(), node);
}

}  // namespace ph
