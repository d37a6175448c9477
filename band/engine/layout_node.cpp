// Layout nodes, their flat form, their similarity and their encoding.
#include "band/engine/layout_node.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "common/le_io.h"

namespace ph {
namespace {

constexpr std::uint8_t kNodeStart = 0x03;
constexpr std::uint8_t kChildrenStart = 0x01;
constexpr std::uint8_t kChildrenEnd = 0x02;
constexpr std::uint8_t kSignatureEnd = 0x00;

// 5^depth as the scores use it; beyond the table it is so large that the cost rounds away.
double PowerOfFive(std::size_t depth) {
  static const std::vector<double> table = [] {
    std::vector<double> t(460);
    for (std::size_t i = 0; i < t.size(); ++i) t[i] = std::pow(5.0, static_cast<double>(i));
    return t;
  }();
  return depth < table.size() ? table[depth] : std::numeric_limits<double>::infinity();
}

}  // namespace

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
  const LayoutShape a = FlattenLayout(*this), b = FlattenLayout(other);
  return a.kind == b.kind && a.child_count == b.child_count;
}

LayoutShape FlattenLayout(const LayoutNode& root) {
  LayoutShape shape;
  // Depth-first with an explicit stack; a node's subtree size is known once its last descendant is
  // written, which is when the stack falls back below it.
  std::vector<const LayoutNode*> pending{&root};
  std::vector<std::size_t> ancestors;  // positions in shape whose subtrees are still being written
  std::vector<std::size_t> remaining;  // children still to be written for each ancestor
  while (!pending.empty()) {
    const LayoutNode* node = pending.back();
    pending.pop_back();
    const std::size_t at = shape.kind.size();
    shape.kind.push_back(node->kind());
    shape.child_count.push_back(static_cast<std::uint32_t>(node->children().size()));
    shape.subtree_size.push_back(1);
    if (!remaining.empty()) --remaining.back();
    if (!node->children().empty()) {
      ancestors.push_back(at);
      remaining.push_back(node->children().size());
      for (auto it = node->children().rbegin(); it != node->children().rend(); ++it) pending.push_back(it->get());
    }
    // Close every ancestor whose last child has just been written (with all of that child's subtree).
    if (node->children().empty()) {
      while (!remaining.empty() && remaining.back() == 0) {
        const std::size_t open = ancestors.back();
        shape.subtree_size[open] = static_cast<std::uint32_t>(shape.kind.size() - open);
        ancestors.pop_back();
        remaining.pop_back();
      }
    }
  }
  // Digests bottom-up: walking the positions backwards meets every child before its parent.
  const std::size_t n = shape.kind.size();
  shape.digest.assign(n, 0);
  for (std::size_t i = n; i-- > 0;) {
    std::uint64_t h = 0x9E3779B97F4A7C15ull * (shape.kind[i] + 1) ^ shape.child_count[i];
    std::size_t child = i + 1;
    for (std::uint32_t c = 0; c < shape.child_count[i]; ++c) {
      h = (h ^ shape.digest[child]) * 0x100000001B3ull;
      h ^= h >> 29;
      child += shape.subtree_size[child];
    }
    shape.digest[i] = h;
  }
  return shape;
}

namespace {

// Whether two subtrees have the same structure, so that comparing them would subtract nothing.
bool SameSubtree(const LayoutShape& s, std::uint32_t si, const LayoutShape& n, std::uint32_t ni) {
  const std::uint32_t size = s.subtree_size[si];
  return size == n.subtree_size[ni] && s.digest[si] == n.digest[ni] &&
         std::equal(s.kind.begin() + si, s.kind.begin() + si + size, n.kind.begin() + ni) &&
         std::equal(s.child_count.begin() + si, s.child_count.begin() + si + size, n.child_count.begin() + ni);
}

}  // namespace

float SimilarityAtLeast(const LayoutShape& s, const LayoutShape& n, float floor) {
  float score = kLayoutPerfectScore;
  if (s.kind.empty() || n.kind.empty()) return score;
  struct Pairing {
    std::uint32_t s_child, n_child, left;
    std::size_t depth;
  };
  std::vector<Pairing> stack;
  // Compares one pair of nodes and queues the pairing of their children; false once below floor.
  auto compare = [&](std::uint32_t si, std::uint32_t ni, std::size_t depth) {
    if (SameSubtree(s, si, n, ni)) return true;
    const std::uint32_t cs = s.child_count[si], cn = n.child_count[ni];
    if (cs != cn) {
      const double diff = cs > cn ? cs - cn : cn - cs;
      score = static_cast<float>(score - 20.0 / PowerOfFive(depth) * diff);
    }
    if (s.kind[si] != n.kind[ni]) score = static_cast<float>(score - 30.0 / PowerOfFive(depth));
    if (score < floor) return false;
    const std::uint32_t pairs = cs < cn ? cs : cn;
    if (pairs != 0) stack.push_back({si + 1, ni + 1, pairs, depth + 1});
    return true;
  };
  if (!compare(0, 0, 0)) return score;
  while (!stack.empty()) {
    Pairing& top = stack.back();
    if (top.left == 0) {
      stack.pop_back();
      continue;
    }
    const std::uint32_t si = top.s_child, ni = top.n_child;
    const std::size_t depth = top.depth;
    top.s_child += s.subtree_size[si];
    top.n_child += n.subtree_size[ni];
    --top.left;
    if (!compare(si, ni, depth)) return score;  // `top` may dangle after compare; not used again
  }
  return score;
}

float Similarity(const LayoutShape& stored, const LayoutShape& fresh) {
  return SimilarityAtLeast(stored, fresh, -std::numeric_limits<float>::infinity());
}

float Similarity(const LayoutNode& stored, const LayoutNode& fresh) {
  return Similarity(FlattenLayout(stored), FlattenLayout(fresh));
}

void EncodeLayout(const LayoutNode& root, ByteWriter* out) {
  // A null entry on the stack stands for "close the children of the node above".
  std::vector<const LayoutNode*> pending{&root};
  while (!pending.empty()) {
    const LayoutNode* node = pending.back();
    pending.pop_back();
    if (!node) {
      out->Raw(&kChildrenEnd, 1);
      continue;
    }
    const std::uint8_t head[2] = {kNodeStart, node->kind()};
    out->Raw(head, 2);
    if (node->children().empty()) continue;
    out->Raw(&kChildrenStart, 1);
    pending.push_back(nullptr);
    for (auto it = node->children().rbegin(); it != node->children().rend(); ++it) pending.push_back(it->get());
  }
}

bool DecodeLayout(ByteReader* in, LayoutNode* root) {
  root->Clear();
  std::uint8_t byte;
  if (!in->Raw(&byte, 1)) return false;  // the root's node start, not looked at
  if (!in->Raw(&byte, 1)) return false;
  root->set_kind(byte);
  // Reading starts above the root: the root's own 0x01 opens it and its closing 0x02 leaves it.
  LayoutNode* current = nullptr;
  LayoutNode* last = root;
  for (;;) {
    if (!in->Raw(&byte, 1)) return false;
    switch (byte) {
      case kSignatureEnd:
        return true;
      case kNodeStart: {
        std::uint8_t kind;
        if (!current || !in->Raw(&kind, 1)) return false;
        last = current->AddChild(kind);
        break;
      }
      case kChildrenStart:
        current = last;
        break;
      case kChildrenEnd:
        if (!current) return false;
        current = current->parent();
        break;
      default:
        break;  // bytes the format does not know are passed over
    }
  }
}

}  // namespace ph
