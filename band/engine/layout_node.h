// Layout signatures: a page's table structure as a tree, its similarity to another, its file encoding.
#pragma once

#include <memory>
#include <optional>
#include <vector>

#include "common/base.h"

namespace ph {

class ByteReader;
class ByteWriter;

// The kinds of node a signature is built from. A node read from a file keeps whatever byte it held.
enum LayoutKind : std::uint8_t {
  kLayoutCell = 0,
  kLayoutRow = 1,
  kLayoutTable = 2,
  kLayoutDocument = 3,
};

// One node of a signature; it owns its children. Signatures read from a file may nest as deep as the
// file is long, so copying and destruction never recurse.
class LayoutNode {
 public:
  explicit LayoutNode(std::uint8_t kind = kLayoutDocument) : kind_(kind) {}
  ~LayoutNode();
  LayoutNode(const LayoutNode& other);
  LayoutNode& operator=(const LayoutNode& other);
  LayoutNode(LayoutNode&& other) noexcept;
  LayoutNode& operator=(LayoutNode&& other) noexcept;

  std::uint8_t kind() const { return kind_; }
  void set_kind(std::uint8_t kind) { kind_ = kind; }
  LayoutNode* parent() const { return parent_; }
  const std::vector<std::unique_ptr<LayoutNode>>& children() const { return children_; }

  LayoutNode* AddChild(std::uint8_t kind);
  void Clear();

  // Structural equality (kinds and shape), without recursion.
  bool SameShape(const LayoutNode& other) const;

 private:
  void AdoptChildrenOf(LayoutNode& other);

  std::uint8_t kind_;
  LayoutNode* parent_ = nullptr;
  std::vector<std::unique_ptr<LayoutNode>> children_;
};

// A signature as it is being built: its nodes in one array, each with its children linked in order,
// node 0 the root. Building a page's signature this way costs no allocation per node.
class LayoutDraft {
 public:
  explicit LayoutDraft(std::uint8_t root_kind = kLayoutDocument) { nodes_.push_back({root_kind, -1, -1, -1}); }
  std::int32_t AddChild(std::int32_t parent, std::uint8_t kind);
  void set_kind(std::int32_t node, std::uint8_t kind) { nodes_[node].kind = kind; }

  std::uint8_t kind(std::int32_t node) const { return nodes_[node].kind; }
  std::int32_t first_child(std::int32_t node) const { return nodes_[node].first; }
  std::int32_t next_sibling(std::int32_t node) const { return nodes_[node].next; }
  // The signature as a tree of nodes, without recursion.
  LayoutNode ToNode() const;

 private:
  struct Node {
    std::uint8_t kind;
    std::int32_t first, last, next;
  };
  std::vector<Node> nodes_;
};

// Every distinct structure of subtree once, numbered: two subtrees have the same number exactly when
// they have the same kinds and shape. A store numbers its signatures in one table, so that pages of one
// site, which repeat most of their tables, compare the parts they share in a single step and keep
// them in memory once.
class LayoutForms {
 public:
  using Id = std::uint32_t;

  LayoutForms() = default;
  // Numbers structures on top of base (which must outlive it and stay unchanged): those that base
  // has keep its numbers, others get numbers of their own that base never gives.
  explicit LayoutForms(const LayoutForms* base) : base_(base) {}

  // The number of a signature's structure, numbering whatever part of it is new. Without recursion.
  Id Add(const LayoutNode& root);
  Id Add(const LayoutDraft& draft);

  std::uint8_t kind(Id id) const { return Form(id).kind; }
  std::uint32_t child_count(Id id) const { return Form(id).count; }
  const Id* children(Id id) const;

 private:
  static constexpr Id kOwn = 0x80000000u;  // marks the numbers of an overlay's own forms
  struct Entry {
    std::uint8_t kind;
    std::uint32_t first, count;  // the child numbers, in pool_
  };
  const Entry& Form(Id id) const;
  Id Intern(std::uint8_t kind, const Id* kids, std::uint32_t count);
  // The number of a form in this table alone, or nothing.
  std::optional<Id> Lookup(std::uint8_t kind, const Id* kids, std::uint32_t count, std::uint64_t hash) const;

  const LayoutForms* base_ = nullptr;
  std::vector<Entry> entries_;
  std::vector<Id> pool_;
  std::vector<std::uint64_t> hashes_;
  std::vector<Id> slots_;  // open addressing: entry index + 1, 0 when free
};

inline constexpr float kLayoutPerfectScore = 100.0f;

// How alike a new signature is to a stored one: 100 less the cost of each difference, counted in
// depth-first order with every subtraction rounded to a 32-bit float.
float Similarity(const LayoutNode& stored, const LayoutNode& fresh);
// The same for two structures numbered in one table (or an overlay of it). When the score is at
// least floor it is exact; otherwise it is any value below floor: scores only fall as differences are
// counted, so the walk may stop as soon as the score drops under floor.
float SimilarityAtLeast(const LayoutForms& forms, LayoutForms::Id stored, LayoutForms::Id fresh, float floor);

// Node start 0x03 and kind; for a node with children 0x01, the children, 0x02. The 0x00 that ends a
// signature in the file is the store's to write.
void EncodeLayout(const LayoutNode& root, ByteWriter* out);
// Reads a signature up to and including its 0x00 into root (which is cleared first). False when the
// data ends first or the signature breaks its structure (a node outside
// the root, or a close above it); root then keeps what was read.
bool DecodeLayout(ByteReader* in, LayoutNode* root);

}  // namespace ph
