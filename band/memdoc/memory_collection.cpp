// Live collections over the node tree: each lists its nodes again after the document has changed.
#include "band/memdoc/memory_collection.h"

#include "band/html/memory_node.h"
#include "band/memdoc/memory_document.h"

namespace ph {
namespace {

using NodePtr = std::shared_ptr<MemoryNode>;

// What a collection lists; it is worked out again whenever the document has changed.
struct Query {
  NodeList kind;
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
    case NodeList::kChildren:
      for (const auto& c : q.root->children)
        if (MatchesTags(*c, q.tags)) out->push_back(c);
      break;
    case NodeList::kDescendants: {
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
    case NodeList::kRows: {
      std::vector<NodePtr> rows;
      TableRows(*q.root, &rows);
      for (auto& r : rows)
        if (MatchesTags(*r, q.tags)) out->push_back(std::move(r));
      break;
    }
    case NodeList::kCells:
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

}  // namespace

CollectionPtr MakeMemoryCollection(std::shared_ptr<MemoryDocument> document, NodeList kind,
                                   std::shared_ptr<MemoryNode> root, WideView tag) {
  Query query{kind, std::move(root), {}};
  if (!tag.empty()) query.tags.push_back(UpperAscii(tag));
  return std::make_shared<MemoryCollection>(std::move(document), std::move(query));
}

CollectionPtr MemoryDocument::ElementsByTagName(WideView tag) {
  return MakeMemoryCollection(shared_from_this(), NodeList::kDescendants, root_, tag);
}

}  // namespace ph
