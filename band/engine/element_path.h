// Element paths that find an element again in another page of its layout, and the page's list of documents.
#pragma once

#include <memory>
#include <vector>

#include "band/engine/document.h"

namespace ph {

class CodePage;

struct PathStep {
  std::string name;     // "frame" for the first step, else the tag name as 8-bit text
  std::int32_t index = 0;  // frame position, or position among the parent's children of that tag

  bool operator==(const PathStep& o) const { return index == o.index && name == o.name; }
  bool operator!=(const PathStep& o) const { return !(*this == o); }
};

// Root first: the "frame" step, then one step per element on the way down from the body.
using ElementPath = std::vector<PathStep>;

// The top document, then depth first each frame's document followed by those of its own frames.
using DocumentList = std::vector<DocumentPtr>;

inline constexpr char kFrameStepName[] = "frame";

DocumentList CollectDocuments(const DocumentPtr& top);

// The path of an element of the page. A path that could not reach the body, or whose document is
// not in the page's list, lacks its "frame" step and is returned as far as it got.
ElementPath BuildPath(const DocumentPtr& top, const ElementPtr& element, const CodePage& code_page);
// The same with the page's document list already at hand (it is the same for every element).
ElementPath BuildPath(const DocumentList& documents, const ElementPtr& element, const CodePage& code_page);

// The paths of many elements of one page: each document's steps are worked out once, in one pass
// over its outline, so that a path costs no more than its own length however many are asked for.
// The paths are those BuildPath gives.
class PagePaths {
 public:
  PagePaths(DocumentList documents, const CodePage& code_page);
  ~PagePaths();
  ElementPath PathOf(const ElementPtr& element);

 private:
  struct Steps;
  const Steps& StepsOf(std::size_t document);

  DocumentList documents_;
  const CodePage& code_page_;
  std::vector<std::unique_ptr<Steps>> steps_;
};

// The element a path names in the page, or null. Never a neighbour: every step must exist as written.
ElementPtr ResolvePath(const DocumentPtr& top, const ElementPath& path, const CodePage& code_page);
ElementPtr ResolvePath(const DocumentList& documents, const ElementPath& path, const CodePage& code_page);

}  // namespace ph
