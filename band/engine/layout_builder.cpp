// Building the signature of a document from its tables and frames.
#include "band/engine/layout_store.h"

namespace ph {
namespace {

// Walks an element's children: tables become nodes, everything else is looked through.
void WalkBody(const ElementPtr& body, LayoutNode* root) {
  struct Pending {
    CollectionPtr children;
    long next;
    LayoutNode* node;
  };
  std::vector<Pending> stack;
  auto open = [&stack](const ElementPtr& element, LayoutNode* node) {
    if (auto children = element->Children()) stack.push_back({std::move(children), 0, node});
  };
  open(body, root);
  while (!stack.empty()) {
    Pending& top = stack.back();
    if (top.next >= top.children->Length()) {
      stack.pop_back();
      continue;
    }
    ElementPtr child = top.children->Item(top.next++);
    LayoutNode* node = top.node;  // `top` may move once the stack grows
    if (!child) continue;
    if (!HasTag(*child, "table")) {
      open(child, node);
      continue;
    }
    LayoutNode* table = node->AddChild(kLayoutTable);
    auto rows = child->Rows();
    const long row_count = rows ? rows->Length() : 0;
    // Each cell's content hangs off its own node, so the cells may be walked in any order.
    for (long r = 0; r < row_count; ++r) {
      LayoutNode* row_node = table->AddChild(kLayoutRow);
      auto row = rows->Item(r);
      auto cells = row ? row->Cells() : nullptr;
      const long cell_count = cells ? cells->Length() : 0;
      for (long c = 0; c < cell_count; ++c) {
        LayoutNode* cell_node = row_node->AddChild(kLayoutCell);
        if (auto cell = cells->Item(c)) open(cell, cell_node);
      }
    }
  }
}

}  // namespace

void BuildLayout(const DocumentPtr& document, LayoutNode* node) {
  std::vector<std::pair<DocumentPtr, LayoutNode*>> pending{{document, node}};
  while (!pending.empty()) {
    auto [doc, target] = std::move(pending.back());
    pending.pop_back();
    target->set_kind(kLayoutDocument);
    if (!doc) continue;
    if (auto body = doc->Body()) WalkBody(body, target);
    for (auto& frame : doc->FrameDocuments())
      if (frame) pending.emplace_back(std::move(frame), target->AddChild(kLayoutDocument));
  }
}

}  // namespace ph
