// Layout nodes and drafts: the signature as a tree, built, copied and torn down without recursion.
#include "band/engine/layout_node.h"

namespace ph {

LayoutNode::~LayoutNode() { Clear(); }

void LayoutNode::Clear() {
  // Take the subtree apart from the bottom: every node is emptied before it is destroyed, so no
  // destructor ever has a child left to destroy in turn.
  std::vector<std::unique_ptr<LayoutNode>> pending = std::move(children_);
  children_.clear();
  while (!pending.empty()) {
    std::unique_ptr<LayoutNode> node = std::move(pending.back());
    pending.pop_back();
    for (auto& child : node->children_) pending.push_back(std::move(child));
    node->children_.clear();
  }
}

LayoutNode* LayoutNode::AddChild(std::uint8_t kind) {
  children_.push_back(std::make_unique<LayoutNode>(kind));
  children_.back()->parent_ = this;
  return children_.back().get();
}

LayoutNode::LayoutNode(const LayoutNode& other) : kind_(other.kind_) {
  std::vector<std::pair<const LayoutNode*, LayoutNode*>> pending{{&other, this}};
  while (!pending.empty()) {
    auto [from, to] = pending.back();
    pending.pop_back();
    to->children_.reserve(from->children_.size());
    for (const auto& child : from->children_) pending.emplace_back(child.get(), to->AddChild(child->kind_));
  }
}

LayoutNode& LayoutNode::operator=(const LayoutNode& other) {
  if (this != &other) *this = LayoutNode(other);
  return *this;
}

void LayoutNode::AdoptChildrenOf(LayoutNode& other) {
  children_ = std::move(other.children_);
  other.children_.clear();
  for (auto& child : children_) child->parent_ = this;
}

LayoutNode::LayoutNode(LayoutNode&& other) noexcept : kind_(other.kind_) { AdoptChildrenOf(other); }

LayoutNode& LayoutNode::operator=(LayoutNode&& other) noexcept {
  if (this != &other) {
    Clear();
    kind_ = other.kind_;
    AdoptChildrenOf(other);
  }
  return *this;
}

bool LayoutNode::SameShape(const LayoutNode& other) const {
  LayoutForms forms;
  return forms.Add(*this) == forms.Add(other);
}

std::int32_t LayoutDraft::AddChild(std::int32_t parent, std::uint8_t kind) {
  const auto id = static_cast<std::int32_t>(nodes_.size());
  nodes_.push_back({kind, -1, -1, -1});
  Node& p = nodes_[parent];
  if (p.last < 0) {
    p.first = id;
  } else {
    nodes_[p.last].next = id;
  }
  p.last = id;
  return id;
}

LayoutNode LayoutDraft::ToNode() const {
  LayoutNode root(kind(0));
  std::vector<std::pair<std::int32_t, LayoutNode*>> pending{{0, &root}};
  while (!pending.empty()) {
    auto [from, to] = pending.back();
    pending.pop_back();
    for (std::int32_t c = first_child(from); c >= 0; c = next_sibling(c)) pending.emplace_back(c, to->AddChild(kind(c)));
  }
  return root;
}

}  // namespace ph
