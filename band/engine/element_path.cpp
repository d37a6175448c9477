// Collecting a page's documents, and writing elements down as paths and finding them again.
#include "band/engine/element_path.h"

#include <algorithm>
#include <unordered_map>

#include "common/ascii.h"
#include "platform/code_page.h"

namespace ph {
namespace {

void CollectInto(const DocumentPtr& doc, DocumentList* list) {
  // Frames nest as deep as the page makes them; an explicit stack keeps a hostile page from
  // exhausting the thread's stack. Children are pushed in reverse so they come out in order.
  std::vector<DocumentPtr> pending{doc};
  while (!pending.empty()) {
    DocumentPtr d = std::move(pending.back());
    pending.pop_back();
    list->push_back(d);
    auto frames = d->FrameDocuments();
    for (auto it = frames.rbegin(); it != frames.rend(); ++it)
      if (*it) pending.push_back(std::move(*it));
  }
}

// The "frame" step of a body: the first document of the page that shows the body's URL.
bool FrameStep(const DocumentList& documents, Element& body, PathStep* step) {
  auto owner = body.OwnerDocument();
  if (!owner) return false;
  const auto url = owner->Url();
  if (!url) return false;
  for (std::size_t i = 0; i < documents.size(); ++i) {
    const auto other = documents[i]->Url();
    if (other && EqualsIgnoringCase(*other, *url)) {
      *step = PathStep{kFrameStepName, static_cast<std::int32_t>(i)};
      return true;
    }
  }
  return false;
}

}  // namespace

DocumentList CollectDocuments(const DocumentPtr& top) {
  DocumentList list;
  if (top) CollectInto(top, &list);
  return list;
}

ElementPath BuildPath(const DocumentPtr& top, const ElementPtr& element, const CodePage& code_page) {
  return BuildPath(CollectDocuments(top), element, code_page);
}

ElementPath BuildPath(const DocumentList& documents, const ElementPtr& element, const CodePage& code_page) {
  // Built from the element upward; reversed once at the end so that it reads root first.
  ElementPath reversed;
  ElementPtr current = element;
  while (current) {
    const auto tag = current->TagName();
    if (!tag) break;
    if (TagEquals(*tag, "body")) {
      PathStep step;
      if (FrameStep(documents, *current, &step)) reversed.push_back(std::move(step));
      break;
    }
    ElementPtr parent = current->Parent();
    if (!parent) break;
    auto children = parent->Children();
    auto same_tag = children ? children->Tags(*tag) : nullptr;
    if (!same_tag) break;
    const long self = current->SourceIndex();
    const long n = same_tag->Length();
    long found = -1;
    for (long i = 0; i < n && found < 0; ++i) {
      auto item = same_tag->Item(i);
      if (item && self >= 0 && item->SourceIndex() == self) found = i;
    }
    if (found < 0) break;
    reversed.push_back(PathStep{code_page.ToAnsi(*tag), static_cast<std::int32_t>(found)});
    current = std::move(parent);
  }
  std::reverse(reversed.begin(), reversed.end());
  return reversed;
}

struct PagePaths::Steps {
  DocumentOutline outline;
  std::vector<std::int32_t> index;     // each entry's position among its parent's children of its tag
  std::vector<std::string> names;      // each tag's name as a step writes it
  std::vector<bool> body;              // whether a tag is BODY, where a path turns to its frame step
  std::unordered_map<long, std::int32_t> entry_of;  // by source index
  std::optional<PathStep> frame;
};

PagePaths::PagePaths(DocumentList documents, const CodePage& code_page)
    : documents_(std::move(documents)), code_page_(code_page), steps_(documents_.size()) {}

PagePaths::~PagePaths() = default;

const PagePaths::Steps& PagePaths::StepsOf(std::size_t document) {
  if (steps_[document]) return *steps_[document];
  auto steps = std::make_unique<Steps>();
  steps->outline = documents_[document]->Outline(false);
  const auto& entries = steps->outline.entries;
  const auto& tags = steps->outline.tags;
  // Children of a tag are counted without regard to ASCII case, as Tags() lists them.
  std::vector<std::uint32_t> kind(tags.size());
  std::unordered_map<std::string, std::uint32_t> kinds;
  for (std::size_t t = 0; t < tags.size(); ++t) {
    const std::string name = code_page_.ToAnsi(tags[t]);
    steps->names.push_back(name);
    const std::string upper = UpperAscii(name);
    kind[t] = kinds.emplace(upper, static_cast<std::uint32_t>(kinds.size())).first->second;
  }
  steps->body = steps->outline.TagsNamed("body");
  std::unordered_map<std::uint64_t, std::int32_t> seen;  // children so far, by parent and kind
  steps->index.resize(entries.size());
  for (std::size_t i = 0; i < entries.size(); ++i) {
    const std::uint64_t key = (static_cast<std::uint64_t>(static_cast<std::uint32_t>(entries[i].parent)) << 32) |
                              kind[entries[i].tag];
    steps->index[i] = seen[key]++;
    if (entries[i].source_index >= 0) steps->entry_of.emplace(entries[i].source_index, static_cast<std::int32_t>(i));
  }
  // The frame step: the first document of the page that shows this one's URL.
  if (const auto url = documents_[document]->Url()) {
    for (std::size_t d = 0; d < documents_.size() && !steps->frame; ++d) {
      const auto other = documents_[d]->Url();
      if (other && EqualsIgnoringCase(*other, *url)) steps->frame = PathStep{kFrameStepName, static_cast<std::int32_t>(d)};
    }
  }
  steps_[document] = std::move(steps);
  return *steps_[document];
}

ElementPath PagePaths::PathOf(const ElementPtr& element) {
  if (!element) return {};
  const DocumentPtr owner = element->OwnerDocument();
  const long index = element->SourceIndex();
  for (std::size_t d = 0; d < documents_.size() && index >= 0; ++d) {
    if (documents_[d] != owner) continue;
    const Steps& steps = StepsOf(d);
    auto it = steps.entry_of.find(index);
    if (it == steps.entry_of.end()) break;
    ElementPath reversed;
    for (std::int32_t at = it->second; at >= 0; at = steps.outline.entries[at].parent) {
      const std::uint32_t tag = steps.outline.entries[at].tag;
      if (steps.body[tag]) {
        if (steps.frame) reversed.push_back(*steps.frame);
        break;
      }
      if (steps.outline.entries[at].parent < 0) break;
      reversed.push_back(PathStep{steps.names[tag], steps.index[at]});
    }
    std::reverse(reversed.begin(), reversed.end());
    return reversed;
  }
  return BuildPath(documents_, element, code_page_);
}

ElementPtr ResolvePath(const DocumentPtr& top, const ElementPath& path, const CodePage& code_page) {
  if (path.empty() || !top) return nullptr;
  return ResolvePath(CollectDocuments(top), path, code_page);
}

ElementPtr ResolvePath(const DocumentList& documents, const ElementPath& path, const CodePage& code_page) {
  if (path.empty()) return nullptr;
  const std::int32_t frame = path.front().index;
  if (frame < 0 || static_cast<std::size_t>(frame) >= documents.size()) return nullptr;
  ElementPtr current = documents[frame]->Body();
  for (std::size_t i = 1; i < path.size() && current; ++i) {
    auto children = current->Children();
    auto same_tag = children ? children->Tags(code_page.FromAnsi(path[i].name)) : nullptr;
    current = same_tag && path[i].index >= 0 ? same_tag->Item(path[i].index) : nullptr;
  }
  return current;
}

}  // namespace ph
