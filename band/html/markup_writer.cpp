// Writes a node tree back out as markup, without recursion however deep the tree.
#include "band/html/markup_writer.h"

namespace ph {
namespace {

void Escape(WideView text, bool attribute, WideString* out) {
  for (char16_t c : text) {
    switch (c) {
      case u'&': *out += u"&amp;"; break;
      case u'<': if (attribute) *out += c; else *out += u"&lt;"; break;
      case u'>': if (attribute) *out += c; else *out += u"&gt;"; break;
      case u'"': if (attribute) *out += u"&quot;"; else *out += c; break;
      case 0xA0: *out += u"&nbsp;"; break;
      default: *out += c;
    }
  }
}

// Writes the markup of the given children in order; an explicit stack of open elements keeps deep
// trees from exhausting the thread's stack.
void WriteMarkup(const std::vector<const MemoryNode*>& roots, WideString* out) {
  struct Step {
    const MemoryNode* node;
    bool close;
  };
  std::vector<Step> pending;
  for (auto it = roots.rbegin(); it != roots.rend(); ++it) pending.push_back({*it, false});
  while (!pending.empty()) {
    const Step step = pending.back();
    pending.pop_back();
    const MemoryNode& n = *step.node;
    if (step.close) {
      *out += u"</";
      *out += n.tag;
      *out += u'>';
      continue;
    }
    switch (n.type) {
      case MemoryNode::Type::kText: {
        const MemoryNode* p = n.parent;
        if (p && p->IsElement() && (p->flags & MemoryNode::kRawText)) {
          *out += n.data;
        } else {
          Escape(n.data, false, out);
        }
        break;
      }
      case MemoryNode::Type::kComment:
        *out += u"<!--";
        *out += n.data;
        *out += u"-->";
        break;
      case MemoryNode::Type::kDocument:
        for (auto it = n.children.rbegin(); it != n.children.rend(); ++it) pending.push_back({it->get(), false});
        break;
      case MemoryNode::Type::kElement:
        *out += u'<';
        *out += n.tag;
        for (const auto& [name, value] : n.attributes) {
          *out += u' ';
          *out += name;
          *out += u"=\"";
          Escape(value, true, out);
          *out += u'"';
        }
        *out += u'>';
        if (n.flags & MemoryNode::kVoid) break;
        pending.push_back({&n, true});
        for (auto it = n.children.rbegin(); it != n.children.rend(); ++it) pending.push_back({it->get(), false});
        break;
    }
  }
}

}  // namespace

WideString OuterMarkup(const MemoryNode& node) {
  WideString out;
  WriteMarkup({&node}, &out);
  return out;
}

WideString InnerMarkup(const MemoryNode& node) {
  std::vector<const MemoryNode*> roots;
  for (const auto& c : node.children) roots.push_back(c.get());
  WideString out;
  WriteMarkup(roots, &out);
  return out;
}

}  // namespace ph
