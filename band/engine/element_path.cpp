// Collecting a page's documents, and writing elements down as paths and finding them again.
#include "band/engine/element_path.h"

#include <algorithm>

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
