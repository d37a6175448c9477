// A small document built in code, for engine tests that run in both trees (the Windows tree has no parser).
#pragma once

#include <algorithm>
#include <functional>
#include <map>

#include "band/engine/document.h"

namespace ph::test {

class TreeDocument;

inline std::string Ascii(WideView text) {
  std::string out;
  for (char16_t c : text) out.push_back(c < 0x80 ? static_cast<char>(c) : '?');
  return out;
}

// One element: its tag, its own text (written before its children), its children and inline style.
struct TreeNode : std::enable_shared_from_this<TreeNode> {
  WideString tag;
  WideString text;
  std::map<std::string, WideString> style;
  std::map<std::string, WideString> attributes;  // written into the markup; "rel" answers Rel() of a LINK
  std::vector<std::shared_ptr<TreeNode>> children;
  TreeNode* parent = nullptr;
  TreeDocument* document = nullptr;

  // Adds a child element and returns it, so that trees read as they nest.
  TreeNode* Add(const char* ascii_tag, const char16_t* own_text = u"") {
    auto child = std::make_shared<TreeNode>();
    child->tag = WidenAscii(ascii_tag);
    child->text = own_text;
    child->parent = this;
    child->document = document;
    children.push_back(child);
    return child.get();
  }
};

class TreeDocument : public Document, public std::enable_shared_from_this<TreeDocument> {
 public:
  static std::shared_ptr<TreeDocument> Make(WideString url) {
    auto doc = std::shared_ptr<TreeDocument>(new TreeDocument(std::move(url)));
    doc->html_->document = doc.get();
    doc->body_ = doc->html_->Add("BODY");
    return doc;
  }

  TreeNode* body() { return body_; }
  ElementPtr Wrap(TreeNode* node);
  // Elements in document order; a node's source index is its position here.
  std::vector<TreeNode*> Ordered() {
    std::vector<TreeNode*> out;
    std::vector<TreeNode*> pending{html_.get()};
    while (!pending.empty()) {
      TreeNode* n = pending.back();
      pending.pop_back();
      out.push_back(n);
      for (auto it = n->children.rbegin(); it != n->children.rend(); ++it) pending.push_back(it->get());
    }
    return out;
  }

  ElementPtr Body() override { return Wrap(body_); }
  std::optional<WideString> Url() override { return url_; }
  std::optional<WideString> Title() override { return WideString(u"Tree"); }
  CollectionPtr ElementsByTagName(WideView tag) override;
  std::vector<DocumentPtr> FrameDocuments() override { return frames; }

  // The documents of the frames this one embeds, in the order the browser would enumerate them.
  std::vector<DocumentPtr> frames;

 private:
  explicit TreeDocument(WideString url) : url_(std::move(url)), html_(std::make_shared<TreeNode>()) {
    html_->tag = u"HTML";
  }
  WideString url_;
  std::shared_ptr<TreeNode> html_;
  TreeNode* body_ = nullptr;
};

// A live list: worked out again from the tree on every call.
class TreeCollection : public ElementCollection {
 public:
  TreeCollection(std::shared_ptr<TreeDocument> doc, std::function<std::vector<TreeNode*>()> list)
      : doc_(std::move(doc)), list_(std::move(list)) {}
  long Length() override { return static_cast<long>(list_().size()); }
  ElementPtr Item(long i) override {
    auto items = list_();
    return i >= 0 && static_cast<std::size_t>(i) < items.size() ? doc_->Wrap(items[i]) : nullptr;
  }
  CollectionPtr Tags(WideView tag) override {
    auto list = list_;
    const WideString t(tag);
    if (t == u"*") return std::make_shared<TreeCollection>(doc_, list);
    return std::make_shared<TreeCollection>(doc_, [list, t] {
      auto items = list();
      items.erase(std::remove_if(items.begin(), items.end(), [&](TreeNode* n) { return !TagEquals(n->tag, Ascii(t)); }),
                  items.end());
      return items;
    });
  }

 private:
  std::shared_ptr<TreeDocument> doc_;
  std::function<std::vector<TreeNode*>()> list_;
};

class TreeStyle : public Style {
 public:
  explicit TreeStyle(std::shared_ptr<TreeNode> node) : node_(std::move(node)) {}
  StyleValue BackgroundColor() override {
    auto it = node_->style.find("background-color");
    return it == node_->style.end() ? StyleValue() : StyleValue(it->second);
  }
  bool SetBackgroundColor(const StyleValue& v) override {
    if (v && !v->empty()) {
      node_->style["background-color"] = *v;
    } else {
      node_->style.erase("background-color");
    }
    return true;
  }
  bool SetVisibility(WideView v) override {
    node_->style["visibility"] = WideString(v);
    return true;
  }

 private:
  std::shared_ptr<TreeNode> node_;
};

class TreeElement : public Element {
 public:
  TreeElement(std::shared_ptr<TreeDocument> doc, std::shared_ptr<TreeNode> node) : doc_(std::move(doc)), node_(std::move(node)) {}

  std::optional<WideString> TagName() override { return node_->tag; }
  ElementPtr Parent() override { return node_->parent ? doc_->Wrap(node_->parent) : nullptr; }
  CollectionPtr Children() override {
    auto node = node_;
    return std::make_shared<TreeCollection>(doc_, [node] {
      std::vector<TreeNode*> out;
      for (auto& c : node->children) out.push_back(c.get());
      return out;
    });
  }
  CollectionPtr ElementsByTagName(WideView tag) override {
    auto node = node_;
    auto doc = doc_;
    return std::make_shared<TreeCollection>(doc_, [node, doc] {
      std::vector<TreeNode*> out;
      for (TreeNode* n : doc->Ordered())
        for (TreeNode* p = n->parent; p; p = p->parent)
          if (p == node.get()) {
            out.push_back(n);
            break;
          }
      return out;
    })->Tags(tag);
  }
  DocumentPtr OwnerDocument() override { return doc_; }
  long SourceIndex() override {
    auto all = doc_->Ordered();
    auto it = std::find(all.begin(), all.end(), node_.get());
    return it == all.end() ? -1 : static_cast<long>(it - all.begin());
  }
  bool Contains(Element& other) override {
    auto* o = dynamic_cast<TreeElement*>(&other);
    for (TreeNode* n = o ? o->node_.get() : nullptr; n; n = n->parent)
      if (n == node_.get()) return true;
    return false;
  }
  std::optional<WideString> InnerHtml() override {
    WideString out = node_->text;
    for (auto& c : node_->children) out += u"<" + c->tag + u">" + *TreeElement(doc_, c).InnerHtml() + u"</" + c->tag + u">";
    return out;
  }
  std::optional<WideString> OuterHtml() override {
    WideString open = u"<" + node_->tag;
    for (const auto& [name, value] : node_->attributes) open += u" " + WidenAscii(name) + u"=\"" + value + u"\"";
    return open + u">" + *InnerHtml() + u"</" + node_->tag + u">";
  }
  std::optional<WideString> InnerText() override {
    WideString out = node_->text;
    for (auto& c : node_->children) {
      const WideString t = *TreeElement(doc_, c).InnerText();
      if (!out.empty() && !t.empty()) out += u' ';
      out += t;
    }
    return out;
  }
  bool SetInnerHtml(WideView markup) override {
    node_->children.clear();
    node_->text = WideString(markup);
    return true;
  }
  bool SetOuterHtml(WideView) override {
    TreeNode* p = node_->parent;
    if (!p) return false;
    auto& sibs = p->children;
    sibs.erase(std::remove_if(sibs.begin(), sibs.end(), [&](auto& c) { return c == node_; }), sibs.end());
    node_->parent = nullptr;
    return true;
  }
  bool SetInnerText(WideView text) override { return SetInnerHtml(text); }
  bool ScrollIntoView(bool) override { return true; }
  StylePtr InlineStyle() override { return std::make_shared<TreeStyle>(node_); }
  CollectionPtr Rows() override {
    if (node_->tag != u"TABLE") return nullptr;
    return Children()->Tags(u"TR");
  }
  CollectionPtr Cells() override {
    if (node_->tag != u"TR") return nullptr;
    return Children()->Tags(u"TD");
  }
  std::optional<WideString> Rel() override {
    auto it = node_->attributes.find("rel");
    if (node_->tag != u"LINK" || it == node_->attributes.end()) return std::nullopt;
    return it->second;
  }
  std::optional<WideString> Id() override { return Attribute("id"); }
  std::optional<WideString> ClassName() override { return Attribute("class"); }

 private:
  // An attribute that is not written reads as empty, as the browser's id and className do.
  WideString Attribute(const char* name) const {
    auto it = node_->attributes.find(name);
    return it == node_->attributes.end() ? WideString() : it->second;
  }

  std::shared_ptr<TreeDocument> doc_;
  std::shared_ptr<TreeNode> node_;
};

inline ElementPtr TreeDocument::Wrap(TreeNode* node) {
  return node ? std::make_shared<TreeElement>(shared_from_this(), node->shared_from_this()) : nullptr;
}

inline CollectionPtr TreeDocument::ElementsByTagName(WideView tag) {
  auto self = shared_from_this();
  return std::make_shared<TreeCollection>(self, [self] { return self->Ordered(); })->Tags(tag);
}

}  // namespace ph::test
