// The in-memory document: its elements, live collections and inline styles over the node tree.
#include "band/memdoc/memory_document.h"

#include <fstream>
#include <sstream>

#include "band/engine/inline_style.h"
#include "band/memdoc/memory_node.h"
#include "common/utf8.h"

namespace ph {
namespace {

using NodePtr = std::shared_ptr<MemoryNode>;

// What a collection lists; it is worked out again whenever the document has changed.
struct Query {
  enum class Kind { kChildren, kDescendants, kRows, kCells } kind;
  NodePtr root;
  std::vector<WideString> tags;  // upper case; every one must match
};

bool MatchesTags(const MemoryNode& n, const std::vector<WideString>& tags) {
  if (!n.IsElement()) return false;
  for (const auto& t : tags)
    if (t != u"*" && n.tag != t) return false;
  return true;
}

// Rows of a table: those of its head, then its bodies and direct rows, then its foot, as the DOM
// orders them.
void TableRows(const MemoryNode& table, std::vector<NodePtr>* out) {
  auto add_rows_of = [out](const MemoryNode& section) {
    for (const auto& c : section.children)
      if (c->HasTag(u"TR")) out->push_back(c);
  };
  for (const auto& c : table.children)
    if (c->HasTag(u"THEAD")) add_rows_of(*c);
  for (const auto& c : table.children) {
    if (c->HasTag(u"TBODY")) add_rows_of(*c);
    if (c->HasTag(u"TR")) out->push_back(c);
  }
  for (const auto& c : table.children)
    if (c->HasTag(u"TFOOT")) add_rows_of(*c);
}

void Evaluate(const Query& q, std::vector<NodePtr>* out) {
  out->clear();
  switch (q.kind) {
    case Query::Kind::kChildren:
      for (const auto& c : q.root->children)
        if (MatchesTags(*c, q.tags)) out->push_back(c);
      break;
    case Query::Kind::kDescendants: {
      std::vector<MemoryNode*> pending;
      for (auto it = q.root->children.rbegin(); it != q.root->children.rend(); ++it) pending.push_back(it->get());
      while (!pending.empty()) {
        MemoryNode* n = pending.back();
        pending.pop_back();
        if (MatchesTags(*n, q.tags)) out->push_back(n->shared_from_this());
        for (auto it = n->children.rbegin(); it != n->children.rend(); ++it) pending.push_back(it->get());
      }
      break;
    }
    case Query::Kind::kRows: {
      std::vector<NodePtr> rows;
      TableRows(*q.root, &rows);
      for (auto& r : rows)
        if (MatchesTags(*r, q.tags)) out->push_back(std::move(r));
      break;
    }
    case Query::Kind::kCells:
      for (const auto& c : q.root->children)
        if ((c->HasTag(u"TD") || c->HasTag(u"TH")) && MatchesTags(*c, q.tags)) out->push_back(c);
      break;
  }
}

class MemoryCollection : public ElementCollection {
 public:
  MemoryCollection(std::shared_ptr<MemoryDocument> doc, Query query) : doc_(std::move(doc)), query_(std::move(query)) {}

  long Length() override { return static_cast<long>(Items().size()); }
  ElementPtr Item(long index) override {
    const auto& items = Items();
    if (index < 0 || static_cast<std::size_t>(index) >= items.size()) return nullptr;
    return doc_->Wrap(items[index]);
  }
  CollectionPtr Tags(WideView tag) override {
    Query narrower = query_;
    narrower.tags.push_back(UpperAscii(tag));
    return std::make_shared<MemoryCollection>(doc_, std::move(narrower));
  }

 private:
  const std::vector<NodePtr>& Items() {
    if (version_ != doc_->version()) {
      Evaluate(query_, &items_);
      version_ = doc_->version();
    }
    return items_;
  }

  std::shared_ptr<MemoryDocument> doc_;
  Query query_;
  std::vector<NodePtr> items_;
  std::uint64_t version_ = 0;
};

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

  CollectionPtr Children() override { return Collection(Query::Kind::kChildren); }
  CollectionPtr ElementsByTagName(WideView tag) override {
    return std::make_shared<MemoryCollection>(doc_, Query{Query::Kind::kDescendants, node_, {UpperAscii(tag)}});
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

  CollectionPtr Rows() override { return node_->tag == u"TABLE" ? Collection(Query::Kind::kRows) : nullptr; }
  CollectionPtr Cells() override { return node_->tag == u"TR" ? Collection(Query::Kind::kCells) : nullptr; }
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

  CollectionPtr Collection(Query::Kind kind) {
    return std::make_shared<MemoryCollection>(doc_, Query{kind, node_, {}});
  }

  std::shared_ptr<MemoryDocument> doc_;
  NodePtr node_;
};

bool IsBlankFrameSource(WideView src) {
  std::size_t b = 0;
  while (b < src.size() && (src[b] == u' ' || src[b] == u'\t' || src[b] == u'\n' || src[b] == u'\r')) ++b;
  const WideView rest = src.substr(b);
  if (rest.empty()) return true;
  static constexpr char kAbout[] = "about:";
  if (rest.size() < 6) return false;
  return TagEquals(rest.substr(0, 6), kAbout);
}

NodePtr FindNode(MemoryNode& root, const std::function<bool(const MemoryNode&)>& match) {
  NodePtr found;
  std::vector<NodePtr> pending(root.children.rbegin(), root.children.rend());
  while (!pending.empty() && !found) {
    NodePtr n = std::move(pending.back());
    pending.pop_back();
    if (n->IsElement() && match(*n)) found = n;
    pending.insert(pending.end(), n->children.rbegin(), n->children.rend());
  }
  return found;
}

}  // namespace

MemoryDocument::MemoryDocument(std::shared_ptr<MemoryNode> root, WideString url)
    : root_(std::move(root)), url_(std::move(url)) {}

MemoryDocument::~MemoryDocument() = default;

std::shared_ptr<MemoryDocument> MemoryDocument::Parse(std::string_view html, WideString url, const FrameSource& frames) {
  FrameBatchSource batch;
  if (frames) {
    batch = [&frames](const std::vector<FrameRequest>& requests) {
      std::vector<std::optional<FramePage>> pages;
      for (const FrameRequest& r : requests) pages.push_back(frames(r.src, r.base_url));
      return pages;
    };
  }
  return Parse(html, std::move(url), batch);
}

std::shared_ptr<MemoryDocument> MemoryDocument::Parse(std::string_view html, WideString url,
                                                      const FrameBatchSource& frames) {
  std::shared_ptr<MemoryDocument> doc(new MemoryDocument(ParsePage(html), std::move(url)));
  doc->LoadFrames(frames);
  return doc;
}

void MemoryDocument::LoadFrames(const FrameBatchSource& frames) {
  // One depth at a time: the frames of all documents of a depth are asked for together, and their
  // documents make up the next depth.
  std::vector<MemoryDocument*> level{this};
  for (int depth = 0; !level.empty(); ++depth) {
    // As in the browser, every frame holds a document: the page its src names, or an empty one
    // when there is no src, it is blank or about:, or the page cannot be had (unreachable,
    // refused, or nested too deep). So the page's list of documents, and every frame index in
    // it, does not depend on which frames happened to load.
    std::vector<MemoryNode*> holders;
    std::vector<std::optional<std::size_t>> asked;  // per holder, its place among the requests
    std::vector<FrameRequest> requests;
    for (MemoryDocument* document : level) {
      ForEachNode(*document->root_, [&](MemoryNode& n) {
        if (n.HasTag(u"FRAME") || n.HasTag(u"IFRAME")) {
          const WideString* src = n.Attribute(u"src");
          holders.push_back(&n);
          asked.emplace_back();
          if (src && frames && depth < kMaxFrameDepth && !IsBlankFrameSource(*src)) {
            asked.back() = requests.size();
            requests.push_back(FrameRequest{*src, document->url_});
          }
        }
        return true;
      });
    }
    std::vector<std::optional<FramePage>> pages;
    if (!requests.empty()) pages = frames(requests);
    pages.resize(requests.size());
    std::vector<MemoryDocument*> next;
    for (std::size_t i = 0; i < holders.size(); ++i) {
      std::optional<FramePage> page;
      if (asked[i]) page = std::move(pages[*asked[i]]);
      if (!page) page = FramePage{WideString(kBlankFrameUrl), std::string()};
      std::shared_ptr<MemoryDocument> child(new MemoryDocument(ParsePage(page->html), std::move(page->url)));
      next.push_back(child.get());
      holders[i]->frame_document = std::move(child);
    }
    for (MemoryDocument* document : level) document->Changed();  // their frame lists are new
    level = std::move(next);
  }
}

ElementPtr MemoryDocument::Wrap(const std::shared_ptr<MemoryNode>& node) {
  if (!node || !node->IsElement()) return nullptr;
  return std::make_shared<MemoryElement>(shared_from_this(), node);
}

void MemoryDocument::Renumber() {
  long next = 0;
  frames_.clear();
  ForEachNode(*root_, [&](MemoryNode& n) {
    if (n.IsElement()) {
      n.source_index = next++;
      n.stamp = version_;
      if (n.frame_document && (n.HasTag(u"FRAME") || n.HasTag(u"IFRAME"))) frames_.push_back(n.frame_document);
    }
    return true;
  });
  element_count_ = next;
  numbered_version_ = version_;
}

long MemoryDocument::SourceIndexOf(const MemoryNode& node) {
  if (numbered_version_ != version_) Renumber();
  // A node that the last numbering did not reach is no longer in the document.
  return node.stamp == version_ ? node.source_index : -1;
}

ElementPtr MemoryDocument::Body() {
  for (const auto& html : root_->children) {
    if (!html->HasTag(u"HTML")) continue;
    // A frameset page answers with its FRAMESET, as the browser does.
    for (const auto& c : html->children)
      if (c->HasTag(u"BODY") || c->HasTag(u"FRAMESET")) return Wrap(c);
  }
  return nullptr;
}

std::optional<WideString> MemoryDocument::Title() {
  NodePtr title = FindNode(*root_, [](const MemoryNode& n) { return n.tag == u"TITLE"; });
  if (!title) return WideString();
  // document.title: the text with ASCII whitespace stripped at both ends and collapsed inside.
  WideString text;
  bool gap = false;
  for (const auto& c : title->children) {
    if (c->type != MemoryNode::Type::kText) continue;
    for (char16_t ch : c->data) {
      if (ch == u' ' || ch == u'\t' || ch == u'\n' || ch == u'\f' || ch == u'\r') {
        gap = !text.empty();
        continue;
      }
      if (gap) text += u' ';
      gap = false;
      text += ch;
    }
  }
  return text;
}

CollectionPtr MemoryDocument::ElementsByTagName(WideView tag) {
  return std::make_shared<MemoryCollection>(shared_from_this(),
                                            Query{Query::Kind::kDescendants, root_, {UpperAscii(tag)}});
}

std::vector<DocumentPtr> MemoryDocument::FrameDocuments() {
  if (numbered_version_ != version_) Renumber();
  return frames_;
}

ElementPtr MemoryDocument::ElementAt(long source_index) {
  if (numbered_version_ != version_) Renumber();
  return Wrap(FindNode(*root_, [&](const MemoryNode& n) { return n.source_index == source_index; }));
}

ElementPtr MemoryDocument::First(std::string_view tag) {
  const WideString upper = UpperAscii(Utf8ToUtf16(tag));
  return Wrap(FindNode(*root_, [&](const MemoryNode& n) { return n.tag == upper; }));
}

ElementPtr MemoryDocument::ById(std::string_view id) { return ByAttribute("id", id); }

ElementPtr MemoryDocument::ByAttribute(std::string_view name, std::string_view value) {
  const WideString wide_name = Utf8ToUtf16(name), wide = Utf8ToUtf16(value);
  return Wrap(FindNode(*root_, [&](const MemoryNode& n) {
    const WideString* v = n.Attribute(wide_name);
    return v && *v == wide;
  }));
}

std::shared_ptr<MemoryDocument> LoadPageFile(const std::string& folder, const std::string& file_name,
                                             const std::string& host) {
  auto read = [&folder](const std::string& name) -> std::optional<std::string> {
    if (name.find('/') != std::string::npos || name.find("..") != std::string::npos) return std::nullopt;
    std::ifstream in(folder + "/" + name, std::ios::binary);
    if (!in) return std::nullopt;
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
  };
  const std::string prefix = "http://" + host + "/";
  auto html = read(file_name);
  if (!html) return nullptr;
  FrameSource frames = [&](const WideString& src, const WideString&) -> std::optional<FramePage> {
    const std::string name = Utf16ToUtf8(src);
    auto text = read(name);
    if (!text) return std::nullopt;
    return FramePage{Utf8ToUtf16(prefix + name), std::move(*text)};
  };
  return MemoryDocument::Parse(*html, Utf8ToUtf16(prefix + file_name), frames);
}

}  // namespace ph
