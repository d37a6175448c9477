// The rendered text of a node tree: whitespace, line breaks and cell separators as a browser makes them.
#include "band/html/rendered_text.h"

namespace ph {
namespace {

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

}  // namespace

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

}  // namespace ph
