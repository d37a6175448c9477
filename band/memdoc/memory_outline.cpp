// The outline of an in-memory document, with the words of every element's text counted in one walk.
#include "band/memdoc/memory_document.h"
#include "band/html/memory_node.h"

#include <unordered_map>

namespace ph {
namespace {

// What a stretch of rendered text tells a word count: its words, and whether it begins and ends inside a
// word (so that it joins a word of the stretch before or after). Rendering only ever adds whitespace
// (line breaks, tabs, collapsed spaces) between what the nodes hold, so the words of an element's text
// follow from those of its parts.
struct Words {
  std::int64_t count = 0;
  bool empty = true;  // nothing at all, not even whitespace
  bool lead = false;  // begins with a word character
  bool trail = false;  // ends with one

  void Append(const Words& next) {
    if (next.empty) return;
    if (empty) {
      *this = next;
      return;
    }
    count += next.count - (trail && next.lead ? 1 : 0);
    trail = next.trail;
  }
  void AppendSpace() { Append(Words{0, false, false, false}); }
};

// The characters a word count takes for word breaks; the text renderer collapses these and a form
// feed outside preformatted text, and keeps everything but line feeds inside it.
bool BreaksWords(char16_t c, bool preformatted) {
  if (c == u' ' || c == u'\t' || c == u'\r' || c == u'\n') return true;
  return c == u'\f' && !preformatted;
}

Words TextWords(WideView text, bool preformatted) {
  Words w;
  if (text.empty()) return w;
  w.empty = false;
  bool after_break = true;
  for (char16_t c : text) {
    const bool brk = BreaksWords(c, preformatted);
    w.count += after_break && !brk;
    after_break = brk;
  }
  w.lead = !BreaksWords(text.front(), preformatted);
  w.trail = !after_break;
  return w;
}

}  // namespace

DocumentOutline MemoryDocument::Outline(bool with_words) {
  DocumentOutline result;
  auto& outline = result.entries;
  // Numbered first, so that each element's source index is read straight from its node.
  if (numbered_version_ != version_) Renumber();
  outline.reserve(static_cast<std::size_t>(element_count_));
  // Tag names repeat: each is looked up by its text as the node holds it.
  std::unordered_map<WideView, std::uint32_t> numbers;
  WideView last_tag;
  bool have_last = false;
  std::uint32_t last_number = 0;
  // An element's words depend on whether it lies in preformatted text, and its own text is read as
  // not lying in any. So every element gets both: [0] as outside preformatted text, [1] as inside.
  struct Open {
    const MemoryNode* node;
    std::size_t next;
    std::int32_t entry;  // -1 for the document node
    Words words[2];      // of the children read so far
  };
  std::vector<Open> open{{root_.get(), 0, -1, {}}};
  while (!open.empty()) {
    Open& top = open.back();
    const MemoryNode& node = *top.node;
    const bool pre = (node.flags & MemoryNode::kPre) != 0;
    if (top.next < node.children.size()) {
      const MemoryNode& child = *node.children[top.next++];
      if (child.type == MemoryNode::Type::kText && with_words) {
        // Only a form feed reads differently in preformatted text.
        const Words plain = TextWords(child.data, pre);
        top.words[0].Append(plain);
        top.words[1].Append(pre || child.data.find(u'\f') == WideString::npos ? plain : TextWords(child.data, true));
      } else if (child.IsElement()) {
        DocumentOutline::Entry entry;
        entry.source_index = child.source_index;
        entry.parent = top.entry;
        // Siblings mostly share their tag: the one before is tried first.
        if (!have_last || child.tag != last_tag) {
          auto known = numbers.find(child.tag);
          last_number = known != numbers.end() ? known->second : numbers[child.tag] = result.TagNumber(child.tag);
          last_tag = child.tag;
          have_last = true;
        }
        entry.tag = last_number;
        const auto index = static_cast<std::int32_t>(outline.size());
        outline.push_back(std::move(entry));
        open.push_back({&child, 0, index, {}});  // `top` is not used after this
      }
      continue;
    }
    const Open done = open.back();
    open.pop_back();
    if (done.entry < 0 || !with_words) continue;
    // A preformatted element is preformatted inside whatever lies around it.
    const Words inside[2] = {pre ? done.words[1] : done.words[0], done.words[1]};
    const std::uint8_t flags = node.flags;
    // Its own text: a line break renders as nothing.
    outline[static_cast<std::size_t>(done.entry)].words = (flags & MemoryNode::kLineBreak) ? 0 : inside[0].count;
    // What it adds to its parent's text: nothing when hidden, a break for BR, else a tab before a
    // cell and line breaks around a block.
    if (open.empty() || (flags & MemoryNode::kHidden)) continue;
    Open& parent = open.back();
    const bool parent_pre = (parent.node->flags & MemoryNode::kPre) != 0;
    for (int s = 0; s < 2; ++s) {
      Words& into = parent.words[s];
      if (flags & MemoryNode::kLineBreak) {
        into.AppendSpace();
        continue;
      }
      if (flags & MemoryNode::kCell) into.AppendSpace();
      if (flags & MemoryNode::kBlock) into.AppendSpace();
      into.Append(inside[s || parent_pre ? 1 : 0]);
      if (flags & MemoryNode::kBlock) into.AppendSpace();
    }
  }
  return result;
}

std::vector<WideString> MemoryDocument::OutlineNames() {
  std::vector<WideString> names;
  names.reserve(static_cast<std::size_t>(element_count_));
  // Document order, as Outline walks it: each node's children pushed last first.
  std::vector<const MemoryNode*> pending{root_.get()};
  while (!pending.empty()) {
    const MemoryNode* node = pending.back();
    pending.pop_back();
    if (node != root_.get()) {
      WideString name;
      for (const char16_t* attribute : {u"id", u"class", u"role"}) {
        if (attribute[0] != u'i') name += u' ';
        if (const WideString* value = node->Attribute(attribute)) name += *value;
      }
      names.push_back(std::move(name));
    }
    for (auto it = node->children.rbegin(); it != node->children.rend(); ++it)
      if ((*it)->IsElement()) pending.push_back(it->get());
  }
  return names;
}

}  // namespace ph
