// An HTML document in memory, parsed with gumbo, that behaves as the browser's does for the engine.
#pragma once

#include <functional>
#include <memory>

#include "band/engine/document.h"

namespace ph {

struct MemoryNode;

// Where the documents of frames come from: given a frame's src and the URL of the document that holds
// it, the frame's URL and its HTML text (UTF-8), or nothing when there is no such page.
inline constexpr char16_t kBlankFrameUrl[] = u"about:blank";

struct FramePage {
  WideString url;
  std::string html;
};
using FrameSource = std::function<std::optional<FramePage>(const WideString& src, const WideString& base_url)>;
// The same for all frames of one depth at once, so that their pages can be fetched side by side: one
// answer for each request, in order.
struct FrameRequest {
  WideString src;
  WideString base_url;
};
using FrameBatchSource = std::function<std::vector<std::optional<FramePage>>(const std::vector<FrameRequest>& requests)>;

// Keeps what the engine relies on in the browser: upper-case tag names, source indices in document
// order, live collections, table rows and cells, frames as child documents, inline styles, markup and
// text read and written. It is the engine's test bed and the page of the command-line band.
class MemoryDocument : public Document, public std::enable_shared_from_this<MemoryDocument> {
 public:
  // Frames deeper than this get an empty document, so that pages that show themselves end.
  static constexpr int kMaxFrameDepth = 8;

  // Parses a whole page (UTF-8). Every FRAME and IFRAME gets a document: the one frames gives for its
  // src, or an empty one at kBlankFrameUrl when there is none to have.
  static std::shared_ptr<MemoryDocument> Parse(std::string_view html, WideString url,
                                               const FrameSource& frames = {});
  static std::shared_ptr<MemoryDocument> Parse(std::string_view html, WideString url, const FrameBatchSource& frames);
  ~MemoryDocument() override;

  // Document (ElementsByTagName in memory_collection.cpp).
  ElementPtr Body() override;
  std::optional<WideString> Url() override { return url_; }
  std::optional<WideString> Title() override;
  CollectionPtr ElementsByTagName(WideView tag) override;
  std::vector<DocumentPtr> FrameDocuments() override;
  // In one walk of the tree, whatever its depth (memory_outline.cpp).
  DocumentOutline Outline(bool with_words) override;
  // Read from the nodes' attributes in the same walk's order (memory_outline.cpp).
  std::vector<WideString> OutlineNames() override;

  // For tests and tools: the element at a source index, the first element with a tag, the first
  // with an id (or another attribute) of a value, and the source indices of the elements scrolled into view, in order.
  ElementPtr ElementAt(long source_index);
  ElementPtr First(std::string_view tag);
  ElementPtr ById(std::string_view id);
  ElementPtr ByAttribute(std::string_view name, std::string_view value);
  const std::vector<long>& scrolled() const { return scrolled_; }

  // The handle of a node of this document (internal to the implementation; memory_element.cpp).
  ElementPtr Wrap(const std::shared_ptr<MemoryNode>& node);
  // Called after every change of the tree: collections, source indices and frames are worked out again.
  void Changed() { ++version_; }
  std::uint64_t version() const { return version_; }
  long SourceIndexOf(const MemoryNode& node);
  void RecordScroll(long source_index) { scrolled_.push_back(source_index); }
  const std::shared_ptr<MemoryNode>& root() const { return root_; }

 private:
  MemoryDocument(std::shared_ptr<MemoryNode> root, WideString url);
  void Renumber();
  void LoadFrames(const FrameBatchSource& frames);

  std::shared_ptr<MemoryNode> root_;  // the document node; its children are the HTML element and comments
  WideString url_;
  std::uint64_t version_ = 1;
  std::uint64_t numbered_version_ = 0;  // the version source indices and frames_ were worked out for
  std::vector<DocumentPtr> frames_;     // the frames' documents, in source order
  long element_count_ = 0;              // as the last numbering found them
  std::vector<long> scrolled_;
};

// Reads a page and its frames from files of one folder (frame src values name files beside it); the
// URLs are "http://<host>/<file name>".
std::shared_ptr<MemoryDocument> LoadPageFile(const std::string& folder, const std::string& file_name,
                                             const std::string& host = "pages.test");

}  // namespace ph
