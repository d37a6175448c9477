// The in-memory node tree: attributes, teardown, markup out and in, and rendered text.
#include "band/memdoc/memory_node.h"

#include <gumbo.h>

#include <algorithm>
#include <cstddef>
#include <cstdlib>
#include <initializer_list>
#include <optional>
#include <string>

#include "band/engine/document.h"
#include "band/memdoc/nesting_limit.h"
#include "common/utf8.h"

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
  if (IsOneOf(tag, {u"AREA", u"BASE", u"BR", u"COL", u"EMBED", u"HR", u"IMG", u"INPUT", u"LINK", u"META", u"PARAM",
                    u"SOURCE", u"TRACK", u"WBR"}))
    f |= MemoryNode::kVoid;
  if (tag == u"TD" || tag == u"TH") f |= MemoryNode::kCell;
  if (tag == u"PRE") f |= MemoryNode::kPre;
  if (tag == u"BR") f |= MemoryNode::kLineBreak;
  return f;
}

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

// Builds the text the way a browser renders it for innerText, closely enough for word counts and
// extraction: runs of whitespace are one space, blocks and BR break lines, cells are tab-separated.
class TextRenderer {
 public:
  void Text(WideView text, bool preformatted) {
    const std::size_t n = text.size();
    for (std::size_t i = 0; i < n;) {
      const char16_t c = text[i];
      if (IsSpace(c)) {
        if (preformatted && c == u'\n') {
          Break();
        } else if (!preformatted) {
          pending_space_ = true;
        } else {
          Put(WideView(&text[i], 1));
        }
        ++i;
        continue;
      }
      // A run of ordinary characters goes in whole (a no-break space among them, as browsers keep it).
      std::size_t j = i + 1;
      while (j < n && !IsSpace(text[j])) ++j;
      Put(text.substr(i, j - i));
      i = j;
    }
  }
  void Break() {
    pending_space_ = false;
    if (!out_.empty()) pending_break_ = true;
  }
  void Separator(char16_t c) {
    if (out_.empty() || pending_break_) return;
    pending_space_ = false;
    out_ += c;
    after_separator_ = true;
  }
  WideString Take() { return std::move(out_); }

 private:
  static bool IsSpace(char16_t c) {
    return c <= u' ' && (c == u' ' || c == u'\t' || c == u'\n' || c == u'\r' || c == u'\f');
  }
  void Put(WideView run) {
    if (pending_break_ || pending_space_ || after_separator_) Flush();
    out_.append(run);
  }

  void Flush() {
    if (pending_break_) {
      out_ += u"\r\n";
    } else if (pending_space_ && !out_.empty() && !after_separator_) {
      out_ += u' ';
    }
    pending_break_ = pending_space_ = after_separator_ = false;
  }

  WideString out_;
  bool pending_space_ = false;
  bool pending_break_ = false;
  bool after_separator_ = false;
};

// One run of gumbo over a text (which must outlive it), with elements nested deeper than kMaxNesting
// left out first. Every block gumbo takes is kept in one list and all are freed in one sweep, since
// gumbo's own teardown recurses as deep as the tree.
class GumboParse {
 public:
  GumboParse(GumboOptions* options, std::string_view html) {
    options->max_errors = 0;
    options->allocator = &Allocate;
    options->deallocator = &Deallocate;
    options->userdata = this;
    limited_ = LimitNesting(html);
    if (limited_) html = *limited_;
    output_ = gumbo_parse_with_options(options, html.data(), html.size());
  }
  ~GumboParse() {
    while (blocks_.next != &blocks_) Deallocate(this, blocks_.next + 1);
  }
  GumboParse(const GumboParse&) = delete;
  GumboParse& operator=(const GumboParse&) = delete;

  GumboOutput* output() const { return output_; }

  // Frees what gumbo took for one element, text or comment apart from its children, once it has
  // been converted: gumbo's tree and ours are never both whole.
  void Release(GumboNode* g) {
    if (g->type == GUMBO_NODE_DOCUMENT) return;  // its few blocks go in the sweep
    if (g->type == GUMBO_NODE_ELEMENT || g->type == GUMBO_NODE_TEMPLATE) {
      GumboVector& attributes = g->v.element.attributes;
      for (unsigned i = 0; i < attributes.length; ++i) {
        auto* a = static_cast<GumboAttribute*>(attributes.data[i]);
        Deallocate(this, const_cast<char*>(a->name));
        Deallocate(this, const_cast<char*>(a->value));
        Deallocate(this, a);
      }
      Deallocate(this, attributes.data);
      Deallocate(this, g->v.element.children.data);
    } else {
      Deallocate(this, const_cast<char*>(g->v.text.text));
    }
    Deallocate(this, g);
  }

 private:
  struct alignas(std::max_align_t) Block {
    Block* prev;
    Block* next;
  };

  static void* Allocate(void* self, std::size_t size) {
    auto* list = &static_cast<GumboParse*>(self)->blocks_;
    auto* b = static_cast<Block*>(std::malloc(sizeof(Block) + size));
    if (!b) return nullptr;
    b->prev = list;
    b->next = list->next;
    list->next->prev = b;
    list->next = b;
    return b + 1;
  }

  static void Deallocate(void*, void* p) {
    if (!p) return;
    Block* b = static_cast<Block*>(p) - 1;
    b->prev->next = b->next;
    b->next->prev = b->prev;
    std::free(b);
  }

  Block blocks_{&blocks_, &blocks_};
  std::optional<std::string> limited_;
  GumboOutput* output_ = nullptr;
};

// Converts a subtree of gumbo's into ours, freeing gumbo's nodes on the way. Our nodes are all made
// first, before anything of gumbo's is freed: made later they would fill the holes gumbo leaves,
// scattered over the heap, and every walk of the tree would wait on memory far more.
std::shared_ptr<MemoryNode> Convert(GumboNode* root, GumboParse& parse) {
  auto top = std::make_shared<MemoryNode>();
  const auto kids_of = [](const GumboNode* g) -> const GumboVector* {
    if (g->type == GUMBO_NODE_DOCUMENT) return &g->v.document.children;
    if (g->type == GUMBO_NODE_ELEMENT || g->type == GUMBO_NODE_TEMPLATE) return &g->v.element.children;
    return nullptr;
  };
  std::vector<std::pair<GumboNode*, MemoryNode*>> pending{{root, top.get()}};
  while (!pending.empty()) {
    auto [g, m] = pending.back();
    pending.pop_back();
    const GumboVector* kids = kids_of(g);
    if (!kids) continue;
    m->children.reserve(kids->length);
    for (unsigned i = 0; i < kids->length; ++i) {
      auto child = std::make_shared<MemoryNode>();
      child->parent = m;
      m->children.push_back(child);
    }
    for (unsigned i = kids->length; i-- > 0;)
      pending.emplace_back(static_cast<GumboNode*>(kids->data[i]), m->children[i].get());
  }
  pending.assign({{root, top.get()}});
  while (!pending.empty()) {
    auto [g, m] = pending.back();
    pending.pop_back();
    if (g->type == GUMBO_NODE_DOCUMENT) {
      m->type = MemoryNode::Type::kDocument;
    } else if (g->type == GUMBO_NODE_ELEMENT || g->type == GUMBO_NODE_TEMPLATE) {
      const GumboElement& e = g->v.element;
      m->type = MemoryNode::Type::kElement;
      if (e.tag == GUMBO_TAG_UNKNOWN) {
        GumboStringPiece name = e.original_tag;
        gumbo_tag_from_original_text(&name);
        m->SetTag(UpperAscii(Utf8ToUtf16(std::string_view(name.data, name.length))));
      } else {
        m->SetTag(UpperAscii(Utf8ToUtf16(gumbo_normalized_tagname(e.tag))));
      }
      for (unsigned i = 0; i < e.attributes.length; ++i) {
        const auto* a = static_cast<const GumboAttribute*>(e.attributes.data[i]);
        m->attributes.emplace_back(Utf8ToUtf16(a->name), Utf8ToUtf16(a->value));
      }
    } else if (g->type == GUMBO_NODE_COMMENT) {
      m->type = MemoryNode::Type::kComment;
      m->data = Utf8ToUtf16(g->v.text.text);
    } else {
      m->type = MemoryNode::Type::kText;
      m->data = Utf8ToUtf16(g->v.text.text);
    }
    if (const GumboVector* kids = kids_of(g))
      for (unsigned i = kids->length; i-- > 0;)
        pending.emplace_back(static_cast<GumboNode*>(kids->data[i]), m->children[i].get());
    parse.Release(g);
  }
  return top;
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

WideString RenderedText(const MemoryNode& node) {
  TextRenderer r;
  struct Step {
    const MemoryNode* node;
    bool leave;
  };
  std::vector<Step> pending{{&node, false}};
  int preformatted = 0;
  while (!pending.empty()) {
    const Step step = pending.back();
    pending.pop_back();
    const MemoryNode& n = *step.node;
    if (step.leave) {
      if (n.flags & MemoryNode::kPre) --preformatted;
      if (n.flags & MemoryNode::kBlock) r.Break();
      continue;
    }
    if (n.type == MemoryNode::Type::kText) {
      r.Text(n.data, preformatted > 0);
      continue;
    }
    if (n.type == MemoryNode::Type::kComment) continue;
    if (n.type == MemoryNode::Type::kElement) {
      if (&n != &node && (n.flags & MemoryNode::kHidden)) continue;
      if (n.flags & MemoryNode::kLineBreak) {
        r.Break();
        continue;
      }
      if (n.flags & MemoryNode::kCell) r.Separator(u'\t');
      if (n.flags & MemoryNode::kBlock) r.Break();
      if (n.flags & MemoryNode::kPre) ++preformatted;
      pending.push_back({&n, true});
    }
    for (auto it = n.children.rbegin(); it != n.children.rend(); ++it) pending.push_back({it->get(), false});
  }
  return r.Take();
}

std::shared_ptr<MemoryNode> ParsePage(std::string_view html) {
  GumboOptions options = kGumboDefaultOptions;
  GumboParse parse(&options, html);
  return Convert(parse.output()->document, parse);
}

std::vector<std::shared_ptr<MemoryNode>> ParseFragment(WideView markup, WideView context_tag) {
  GumboOptions options = kGumboDefaultOptions;
  std::string context = Utf16ToUtf8(context_tag);
  std::transform(context.begin(), context.end(), context.begin(),
                 [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; });
  GumboTag tag = gumbo_tagn_enum(context.data(), static_cast<unsigned>(context.size()));
  options.fragment_context = tag == GUMBO_TAG_UNKNOWN ? GUMBO_TAG_DIV : tag;
  options.fragment_namespace = GUMBO_NAMESPACE_HTML;
  const std::string text = Utf16ToUtf8(markup);
  GumboParse parse(&options, text);
  // A fragment comes back as the children of an HTML element standing for the context.
  auto root = Convert(parse.output()->root, parse);
  std::vector<std::shared_ptr<MemoryNode>> nodes = std::move(root->children);
  root->children.clear();
  for (auto& n : nodes) n->parent = nullptr;
  return nodes;
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
