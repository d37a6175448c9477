// The node tree of an HTML page in memory: its nodes, their attributes and the edits of the tree.
#pragma once

#include <memory>
#include <vector>

#include "common/ascii.h"
#include "common/base.h"

namespace ph {

class MemoryDocument;

struct MemoryNode : std::enable_shared_from_this<MemoryNode> {
  enum class Type { kDocument, kElement, kText, kComment };

  // What the markup and text writers need to know of a tag, worked out once when it is set.
  enum Flags : std::uint8_t {
    kBlock = 1,      // starts and ends a line of text
    kHidden = 2,     // no text of its own (scripts, styles, the head)
    kRawText = 4,    // content written without escapes
    kVoid = 8,       // no end tag
    kCell = 16,      // TD or TH
    kPre = 32,       // keeps its whitespace
    kLineBreak = 64  // BR
  };

  Type type = Type::kElement;
  WideString tag;  // upper case, for elements; set through SetTag
  std::uint8_t flags = 0;
  std::vector<std::pair<WideString, WideString>> attributes;  // names in lower case, in source order
  WideString data;  // text or comment
  MemoryNode* parent = nullptr;
  std::vector<std::shared_ptr<MemoryNode>> children;

  // Filled by the document when it numbers its elements; valid when stamp equals its version.
  long source_index = -1;
  std::uint64_t stamp = 0;

  // For FRAME and IFRAME elements that hold a page.
  std::shared_ptr<MemoryDocument> frame_document;

  MemoryNode() = default;
  ~MemoryNode();
  MemoryNode(const MemoryNode&) = delete;
  MemoryNode& operator=(const MemoryNode&) = delete;

  bool IsElement() const { return type == Type::kElement; }
  void SetTag(WideString upper_tag);
  bool HasTag(std::u16string_view upper) const { return type == Type::kElement && tag == upper; }
  const WideString* Attribute(std::u16string_view name) const;
  void SetAttribute(std::u16string_view name, WideString value);
  void RemoveAttribute(std::u16string_view name);
};

// A new last child of parent: an element of the tag (upper case), or a text or comment holding the text.
MemoryNode* AppendNode(MemoryNode* parent, MemoryNode::Type type, WideView tag_or_text);

// Depth-first over a subtree (the root included), without recursion; stops when visit returns false.
template <typename Visit>
void ForEachNode(MemoryNode& root, Visit visit) {
  std::vector<MemoryNode*> pending{&root};
  while (!pending.empty()) {
    MemoryNode* node = pending.back();
    pending.pop_back();
    if (!visit(*node)) return;
    for (auto it = node->children.rbegin(); it != node->children.rend(); ++it) pending.push_back(it->get());
  }
}

// Replaces the children of parent by nodes (which are adopted).
void ReplaceChildren(MemoryNode& parent, std::vector<std::shared_ptr<MemoryNode>> nodes);
// Replaces node in its parent by nodes; false when it has no parent.
bool ReplaceNode(MemoryNode& node, std::vector<std::shared_ptr<MemoryNode>> nodes);

}  // namespace ph
