// Runs gumbo over a page or a fragment and converts its tree into ours, freeing gumbo's as it goes.
#include "band/html/html_parser.h"

#include <gumbo.h>

#include <cstddef>
#include <cstdlib>
#include <optional>
#include <string>

#include "band/html/nesting_limit.h"
#include "common/utf8.h"

namespace ph {
namespace {

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

std::shared_ptr<MemoryNode> ParsePage(std::string_view html) {
  GumboOptions options = kGumboDefaultOptions;
  GumboParse parse(&options, html);
  return Convert(parse.output()->document, parse);
}

std::vector<std::shared_ptr<MemoryNode>> ParseFragment(WideView markup, WideView context_tag) {
  GumboOptions options = kGumboDefaultOptions;
  const std::string context = LowerAscii(Utf16ToUtf8(context_tag));
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

}  // namespace ph
