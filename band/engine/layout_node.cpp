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
  LayoutForms forms;
  return forms.Add(*this) == forms.Add(other);
}

namespace {

std::uint64_t FormHash(std::uint8_t kind, const LayoutForms::Id* kids, std::uint32_t count) {
  std::uint64_t h = 0x9E3779B97F4A7C15ull * (kind + 1u) ^ count;
  for (std::uint32_t i = 0; i < count; ++i) {
    h = (h ^ kids[i]) * 0x100000001B3ull;
    h ^= h >> 29;
  }
  return h;
}

}  // namespace

const LayoutForms::Entry& LayoutForms::Form(Id id) const {
  if (base_ && !(id & kOwn)) return base_->Form(id);
  return entries_[id & ~kOwn];
}

const LayoutForms::Id* LayoutForms::children(Id id) const {
  if (base_ && !(id & kOwn)) return base_->children(id);
  return pool_.data() + entries_[id & ~kOwn].first;
}

std::optional<LayoutForms::Id> LayoutForms::Lookup(std::uint8_t kind, const Id* kids, std::uint32_t count,
                                                   std::uint64_t hash) const {
  if (slots_.empty()) return std::nullopt;
  const std::size_t mask = slots_.size() - 1;
  for (std::size_t at = hash & mask;; at = (at + 1) & mask) {
    const Id slot = slots_[at];
    if (slot == 0) return std::nullopt;
    const Entry& e = entries_[slot - 1];
    if (hashes_[slot - 1] == hash && e.kind == kind && e.count == count &&
        std::equal(kids, kids + count, pool_.begin() + e.first))
      return slot - 1;
  }
}

LayoutForms::Id LayoutForms::Intern(std::uint8_t kind, const Id* kids, std::uint32_t count) {
  const std::uint64_t hash = FormHash(kind, kids, count);
  // A form made of the base's forms alone may be one of the base's; one with a part of its own cannot.
  if (base_ && std::none_of(kids, kids + count, [](Id k) { return (k & kOwn) != 0; }))
    if (auto found = base_->Lookup(kind, kids, count, hash)) return *found;
  const Id own = base_ ? kOwn : 0;
  if (auto found = Lookup(kind, kids, count, hash)) return *found | own;
  if ((entries_.size() + 1) * 2 > slots_.size()) {
    slots_.assign(slots_.empty() ? 64 : slots_.size() * 2, 0);
    const std::size_t mask = slots_.size() - 1;
    for (std::size_t i = 0; i < entries_.size(); ++i) {
      std::size_t at = hashes_[i] & mask;
      while (slots_[at] != 0) at = (at + 1) & mask;
      slots_[at] = static_cast<Id>(i + 1);
    }
  }
  const Id id = static_cast<Id>(entries_.size());
  entries_.push_back(Entry{kind, static_cast<std::uint32_t>(pool_.size()), count});
  pool_.insert(pool_.end(), kids, kids + count);
  hashes_.push_back(hash);
  const std::size_t mask = slots_.size() - 1;
  std::size_t at = hash & mask;
  while (slots_[at] != 0) at = (at + 1) & mask;
  slots_[at] = id + 1;
  return id | own;
}

LayoutForms::Id LayoutForms::Add(const LayoutNode& root) {
  // Children first: a node is numbered once the numbers of all its children are on the stack.
  struct Open {
    const LayoutNode* node;
    std::size_t next;
    std::size_t first;  // where its children's numbers start in `numbers`
  };
  std::vector<Open> open{{&root, 0, 0}};
  std::vector<Id> numbers;
  while (!open.empty()) {
    Open& top = open.back();
    const auto& kids = top.node->children();
    if (top.next < kids.size()) {
      const LayoutNode* child = kids[top.next++].get();
      open.push_back({child, 0, numbers.size()});  // `top` is not used after this
      continue;
    }
    const std::size_t first = top.first;
    const Id id = Intern(top.node->kind(), numbers.data() + first, static_cast<std::uint32_t>(numbers.size() - first));
    numbers.resize(first);
    numbers.push_back(id);
    open.pop_back();
  }
  return numbers.back();
}

LayoutForms::Id LayoutForms::Add(const LayoutDraft& draft) {
  struct Open {
    std::int32_t node, next;
    std::size_t first;
  };
  std::vector<Open> open{{0, draft.first_child(0), 0}};
  std::vector<Id> numbers;
  while (!open.empty()) {
    Open& top = open.back();
    if (top.next >= 0) {
      const std::int32_t child = top.next;
      top.next = draft.next_sibling(child);
      open.push_back({child, draft.first_child(child), numbers.size()});  // `top` is not used after this
      continue;
    }
    const std::size_t first = top.first;
    const Id id = Intern(draft.kind(top.node), numbers.data() + first, static_cast<std::uint32_t>(numbers.size() - first));
    numbers.resize(first);
    numbers.push_back(id);
    open.pop_back();
  }
  return numbers.back();
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

float SimilarityAtLeast(const LayoutForms& forms, LayoutForms::Id stored, LayoutForms::Id fresh, float floor) {
  using Id = LayoutForms::Id;
  float score = kLayoutPerfectScore;
  struct Pairing {
    const Id *s, *n;
    std::uint32_t left;
    std::size_t depth;
  };
  std::vector<Pairing> stack;
  // Compares one pair of nodes and queues the pairing of their children; false once below floor.
  // Equal numbers are equal structures, which subtract nothing.
  auto compare = [&](Id s, Id n, std::size_t depth) {
    if (s == n) return true;
    const std::uint32_t cs = forms.child_count(s), cn = forms.child_count(n);
    if (cs != cn) {
      const double diff = cs > cn ? cs - cn : cn - cs;
      score = static_cast<float>(score - 20.0 / PowerOfFive(depth) * diff);
    }
    if (forms.kind(s) != forms.kind(n)) score = static_cast<float>(score - 30.0 / PowerOfFive(depth));
    if (score < floor) return false;
    const std::uint32_t pairs = cs < cn ? cs : cn;
    if (pairs != 0) stack.push_back({forms.children(s), forms.children(n), pairs, depth + 1});
    return true;
  };
  if (!compare(stored, fresh, 0)) return score;
  while (!stack.empty()) {
    Pairing& top = stack.back();
    if (top.left == 0) {
      stack.pop_back();
      continue;
    }
    const Id s = *top.s++, n = *top.n++;
    const std::size_t depth = top.depth;
    --top.left;
    if (!compare(s, n, depth)) return score;  // `top` may dangle after compare; not used again
  }
  return score;
}

float Similarity(const LayoutNode& stored, const LayoutNode& fresh) {
  LayoutForms forms;
  const LayoutForms::Id s = forms.Add(stored), n = forms.Add(fresh);
  return SimilarityAtLeast(forms, s, n, -std::numeric_limits<float>::infinity());
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
