// The table that numbers every distinct structure of subtree once, for a store of signatures.
#include "band/engine/layout_node.h"

#include <algorithm>

namespace ph {
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

}  // namespace ph
