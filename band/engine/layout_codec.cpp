// A signature in the layouts file: node, kind, and the bracketed list of its children.
#include "band/engine/layout_node.h"

#include "common/le_io.h"

namespace ph {
namespace {

constexpr std::uint8_t kNodeStart = 0x03;
constexpr std::uint8_t kChildrenStart = 0x01;
constexpr std::uint8_t kChildrenEnd = 0x02;
constexpr std::uint8_t kSignatureEnd = 0x00;

}  // namespace

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
