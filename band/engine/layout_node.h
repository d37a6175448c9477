// Layout signatures: a page's table structure as a tree, its similarity to another, its file encoding.
#pragma once

#include <memory>
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

// A signature laid out flat in depth-first order, the form in which signatures are compared: it is
// built once per stored layout and once per page, and walked without recursion.
struct LayoutShape {
  std::vector<std::uint8_t> kind;
  std::vector<std::uint32_t> child_count;
  std::vector<std::uint32_t> subtree_size;  // the node and all below it
  // A digest of each subtree's structure. Pages of one site repeat most of their tables, so equal
  // digests (confirmed byte for byte) let a comparison pass over a subtree that costs nothing.
  std::vector<std::uint64_t> digest;
};

LayoutShape FlattenLayout(const LayoutNode& root);

inline constexpr float kLayoutPerfectScore = 100.0f;

// How alike a new signature is to a stored one: 100 less the cost of each difference, counted in
// depth-first order with every subtraction rounded to a 32-bit float.
float Similarity(const LayoutNode& stored, const LayoutNode& fresh);
float Similarity(const LayoutShape& stored, const LayoutShape& fresh);
// The same score when it is at least floor; otherwise any value below floor. Scores only fall as
// differences are counted, so the walk may stop as soon as the score drops under floor.
float SimilarityAtLeast(const LayoutShape& stored, const LayoutShape& fresh, float floor);

// Node start 0x03 and kind; for a node with children 0x01, the children, 0x02. The 0x00 that ends a
// signature in the file is the store's to write.
void EncodeLayout(const LayoutNode& root, ByteWriter* out);
// Reads a signature up to and including its 0x00 into root (which is cleared first). False when the
// data ends first or the signature breaks its structure (a node outside
// the root, or a close above it); root then keeps what was read.
bool DecodeLayout(ByteReader* in, LayoutNode* root);

}  // namespace ph
