// Building the signature of a document from its tables and frames.
#include "band/engine/layout_store.h"

namespace ph {
namespace {

// The outline as a tree: each entry's first child and next sibling, in document order.
struct OutlineTree {
  explicit OutlineTree(const DocumentOutline& whole)
      : outline(whole.entries),
        table(whole.TagsNamed("table")),
        head(whole.TagsNamed("thead")),
        body(whole.TagsNamed("tbody")),
        foot(whole.TagsNamed("tfoot")),
        row(whole.TagsNamed("tr")),
        cell(whole.TagsNamed("td")) {
    const std::vector<bool> th = whole.TagsNamed("th");
    for (std::size_t t = 0; t < cell.size(); ++t) cell[t] = cell[t] || th[t];
    const std::size_t n = outline.size();
    first_child.assign(n, -1);
    next_sibling.assign(n, -1);
    // Backwards, so that each child is put in front of the siblings after it.
    for (std::size_t i = n; i-- > 0;) {
      const std::int32_t parent = outline[i].parent;
      if (parent < 0 || static_cast<std::size_t>(parent) >= i) continue;
      next_sibling[i] = first_child[parent];
      first_child[parent] = static_cast<std::int32_t>(i);
    }
  }
  bool Is(std::int32_t i, const std::vector<bool>& tags) const { return tags[outline[i].tag]; }

  // A table's rows as the DOM lists them: those of its heads, then of its bodies and its own, then
  // of its feet.
  std::vector<std::int32_t> Rows(std::int32_t table) const {
    std::vector<std::int32_t> rows;
    auto rows_of = [&](std::int32_t section) {
      for (std::int32_t r = first_child[section]; r >= 0; r = next_sibling[r])
        if (Is(r, row)) rows.push_back(r);
    };
    for (std::int32_t c = first_child[table]; c >= 0; c = next_sibling[c])
      if (Is(c, head)) rows_of(c);
    for (std::int32_t c = first_child[table]; c >= 0; c = next_sibling[c]) {
      if (Is(c, body)) rows_of(c);
      if (Is(c, row)) rows.push_back(c);
    }
    for (std::int32_t c = first_child[table]; c >= 0; c = next_sibling[c])
      if (Is(c, foot)) rows_of(c);
    return rows;
  }

  const std::vector<DocumentOutline::Entry>& outline;
  const std::vector<bool> table, head, body, foot, row;
  std::vector<bool> cell;  // TD or TH
  std::vector<std::int32_t> first_child, next_sibling;
};

// Walks below an element: tables become nodes, everything else is looked through.
void WalkBody(const OutlineTree& tree, std::int32_t body, std::int32_t root, LayoutDraft* draft) {
  struct Pending {
    std::int32_t next;  // the next child to look at
    std::int32_t node;
  };
  std::vector<Pending> stack{{tree.first_child[body], root}};
  while (!stack.empty()) {
    Pending& top = stack.back();
    if (top.next < 0) {
      stack.pop_back();
      continue;
    }
    const std::int32_t child = top.next;
    top.next = tree.next_sibling[child];
    const std::int32_t node = top.node;  // `top` may move once the stack grows
    if (!tree.Is(child, tree.table)) {
      stack.push_back({tree.first_child[child], node});
      continue;
    }
    const std::int32_t table = draft->AddChild(node, kLayoutTable);
    // Each cell's content hangs off its own node, so the cells may be walked in any order.
    for (std::int32_t row : tree.Rows(child)) {
      const std::int32_t row_node = draft->AddChild(table, kLayoutRow);
      for (std::int32_t c = tree.first_child[row]; c >= 0; c = tree.next_sibling[c])
        if (tree.Is(c, tree.cell)) stack.push_back({tree.first_child[c], draft->AddChild(row_node, kLayoutCell)});
    }
  }
}

}  // namespace

void BuildLayout(const DocumentPtr& document, LayoutDraft* draft) {
  *draft = LayoutDraft(kLayoutDocument);
  std::vector<std::pair<DocumentPtr, std::int32_t>> pending{{document, 0}};
  while (!pending.empty()) {
    auto [doc, target] = std::move(pending.back());
    pending.pop_back();
    if (!doc) continue;
    if (auto body = doc->Body()) {
      const long index = body->SourceIndex();
      const DocumentOutline outline = doc->Outline(false);
      const OutlineTree tree(outline);
      for (std::size_t i = 0; i < outline.entries.size(); ++i) {
        if (index >= 0 && outline.entries[i].source_index == index) {
          WalkBody(tree, static_cast<std::int32_t>(i), target, draft);
          break;
        }
      }
    }
    for (auto& frame : doc->FrameDocuments())
      if (frame) pending.emplace_back(std::move(frame), draft->AddChild(target, kLayoutDocument));
  }
}

void BuildLayout(const DocumentPtr& document, LayoutNode* node) {
  LayoutDraft draft;
  BuildLayout(document, &draft);
  *node = draft.ToNode();
}

}  // namespace ph
