// The node tree: what a tag means for markup and text, attributes, edits and teardown.
#include "band/html/memory_node.h"

#include <algorithm>
#include <initializer_list>

#include "band/html/html_elements.h"

namespace ph {
namespace {

bool IsOneOf(const WideString& tag, std::initializer_list<const char16_t*> names) {
  return std::any_of(names.begin(), names.end(), [&](const char16_t* v) { return tag == v; });
}

std::uint8_t FlagsOf(const WideString& tag) {
  std::uint8_t f = 0;
  if (IsOneOf(tag, {u"ADDRESS", u"ARTICLE", u"ASIDE", u"BLOCKQUOTE", u"CENTER", u"DD", u"DIV", u"DL", u"DT",
                    u"FIELDSET", u"FIGURE", u"FOOTER", u"FORM", u"H1", u"H2", u"H3", u"H4", u"H5", u"H6",
                    u"HEADER", u"HR", u"LI", u"MAIN", u"NAV", u"OL", u"P", u"PRE", u"SECTION", u"TABLE", u"TR",
                    u"UL", u"CAPTION", u"THEAD", u"TBODY", u"TFOOT"}))
    f |= MemoryNode::kBlock;
  if (IsOneOf(tag, {u"SCRIPT", u"STYLE", u"HEAD", u"TITLE", u"NOSCRIPT", u"TEMPLATE"})) f |= MemoryNode::kHidden;
  if (IsOneOf(tag, {u"SCRIPT", u"STYLE", u"XMP", u"NOFRAMES", u"PLAINTEXT"})) f |= MemoryNode::kRawText;
  if (IsVoidElement(tag)) f |= MemoryNode::kVoid;
  if (tag == u"TD" || tag == u"TH") f |= MemoryNode::kCell;
  if (tag == u"PRE") f |= MemoryNode::kPre;
  if (tag == u"BR") f |= MemoryNode::kLineBreak;
  return f;
}

}  // namespace

MemoryNode* AppendNode(MemoryNode* parent, MemoryNode::Type type, WideView tag_or_text) {
  auto node = std::make_shared<MemoryNode>();
  node->type = type;
  if (type == MemoryNode::Type::kElement) {
    node->SetTag(WideString(tag_or_text));
  } else {
    node->data = WideString(tag_or_text);
  }
  node->parent = parent;
  parent->children.push_back(std::move(node));
  return parent->children.back().get();
}

MemoryNode::~MemoryNode() {
  // Deep trees are taken apart from here without recursion. A child that a handle still holds keeps
  // its subtree; it is taken apart when the last handle lets go.
  std::vector<std::shared_ptr<MemoryNode>> pending = std::move(children);
  children.clear();
  while (!pending.empty()) {
    std::shared_ptr<MemoryNode> node = std::move(pending.back());
    pending.pop_back();
    if (node->parent == this) node->parent = nullptr;
    if (node.use_count() != 1) continue;
    for (auto& child : node->children) {
      child->parent = nullptr;
      pending.push_back(std::move(child));
    }
    node->children.clear();
  }
}

void MemoryNode::SetTag(WideString upper_tag) {
  tag = std::move(upper_tag);
  flags = FlagsOf(tag);
}

const WideString* MemoryNode::Attribute(std::u16string_view name) const {
  for (const auto& [n, v] : attributes)
    if (n == name) return &v;
  return nullptr;
}

void MemoryNode::SetAttribute(std::u16string_view name, WideString value) {
  for (auto& [n, v] : attributes) {
    if (n == name) {
      v = std::move(value);
      return;
    }
  }
  attributes.emplace_back(WideString(name), std::move(value));
}

void MemoryNode::RemoveAttribute(std::u16string_view name) {
  for (auto it = attributes.begin(); it != attributes.end(); ++it) {
    if (it->first == name) {
      attributes.erase(it);
      return;
    }
  }
}

void ReplaceChildren(MemoryNode& parent, std::vector<std::shared_ptr<MemoryNode>> nodes) {
  for (auto& old : parent.children) old->parent = nullptr;
  parent.children = std::move(nodes);
  for (auto& n : parent.children) n->parent = &parent;
}

bool ReplaceNode(MemoryNode& node, std::vector<std::shared_ptr<MemoryNode>> nodes) {
  MemoryNode* parent = node.parent;
  if (!parent) return false;
  auto& siblings = parent->children;
  auto it = std::find_if(siblings.begin(), siblings.end(), [&](const auto& p) { return p.get() == &node; });
  if (it == siblings.end()) return false;
  // Keep the node alive until it is out of the list: the list may hold its last reference.
  std::shared_ptr<MemoryNode> self = *it;
  it = siblings.erase(it);
  for (auto& n : nodes) n->parent = parent;
  siblings.insert(it, std::make_move_iterator(nodes.begin()), std::make_move_iterator(nodes.end()));
  self->parent = nullptr;
  return true;
}

}  // namespace ph
