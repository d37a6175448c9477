// The in-memory document: parsing with its frames, numbering, and finding elements.
#include "band/memdoc/memory_document.h"

#include <fstream>
#include <sstream>

#include "band/html/html_parser.h"
#include "band/html/memory_node.h"
#include "common/utf8.h"

namespace ph {
namespace {

using NodePtr = std::shared_ptr<MemoryNode>;

bool IsBlankFrameSource(WideView src) {
  std::size_t b = 0;
  while (b < src.size() && (src[b] == u' ' || src[b] == u'\t' || src[b] == u'\n' || src[b] == u'\r')) ++b;
  const WideView rest = src.substr(b);
  if (rest.empty()) return true;
  static constexpr char kAbout[] = "about:";
  if (rest.size() < 6) return false;
  return TagEquals(rest.substr(0, 6), kAbout);
}

NodePtr FindNode(MemoryNode& root, const std::function<bool(const MemoryNode&)>& match) {
  NodePtr found;
  std::vector<NodePtr> pending(root.children.rbegin(), root.children.rend());
  while (!pending.empty() && !found) {
    NodePtr n = std::move(pending.back());
    pending.pop_back();
    if (n->IsElement() && match(*n)) found = n;
    pending.insert(pending.end(), n->children.rbegin(), n->children.rend());
  }
  return found;
}

}  // namespace

MemoryDocument::MemoryDocument(std::shared_ptr<MemoryNode> root, WideString url)
    : root_(std::move(root)), url_(std::move(url)) {}

MemoryDocument::~MemoryDocument() = default;

std::shared_ptr<MemoryDocument> MemoryDocument::Parse(std::string_view html, WideString url, const FrameSource& frames) {
  FrameBatchSource batch;
  if (frames) {
    batch = [&frames](const std::vector<FrameRequest>& requests) {
      std::vector<std::optional<FramePage>> pages;
      for (const FrameRequest& r : requests) pages.push_back(frames(r.src, r.base_url));
      return pages;
    };
  }
  return Parse(html, std::move(url), batch);
}

std::shared_ptr<MemoryDocument> MemoryDocument::Parse(std::string_view html, WideString url,
                                                      const FrameBatchSource& frames) {
  std::shared_ptr<MemoryDocument> doc(new MemoryDocument(ParsePage(html), std::move(url)));
  doc->LoadFrames(frames);
  return doc;
}

void MemoryDocument::LoadFrames(const FrameBatchSource& frames) {
  // One depth at a time: the frames of all documents of a depth are asked for together, and their
  // documents make up the next depth.
  std::vector<MemoryDocument*> level{this};
  for (int depth = 0; !level.empty(); ++depth) {
    // As in the browser, every frame holds a document: the page its src names, or an empty one
    // when there is no src, it is blank or about:, or the page cannot be had (unreachable,
    // refused, or nested too deep). So the page's list of documents, and every frame index in
    // it, does not depend on which frames happened to load.
    std::vector<MemoryNode*> holders;
    std::vector<std::optional<std::size_t>> asked;  // per holder, its place among the requests
    std::vector<FrameRequest> requests;
    for (MemoryDocument* document : level) {
      ForEachNode(*document->root_, [&](MemoryNode& n) {
        if (n.HasTag(u"FRAME") || n.HasTag(u"IFRAME")) {
          const WideString* src = n.Attribute(u"src");
          holders.push_back(&n);
          asked.emplace_back();
          if (src && frames && depth < kMaxFrameDepth && !IsBlankFrameSource(*src)) {
            asked.back() = requests.size();
            requests.push_back(FrameRequest{*src, document->url_});
          }
        }
        return true;
      });
    }
    std::vector<std::optional<FramePage>> pages;
    if (!requests.empty()) pages = frames(requests);
    pages.resize(requests.size());
    std::vector<MemoryDocument*> next;
    for (std::size_t i = 0; i < holders.size(); ++i) {
      std::optional<FramePage> page;
      if (asked[i]) page = std::move(pages[*asked[i]]);
      if (!page) page = FramePage{WideString(kBlankFrameUrl), std::string()};
      std::shared_ptr<MemoryDocument> child(new MemoryDocument(ParsePage(page->html), std::move(page->url)));
      next.push_back(child.get());
      holders[i]->frame_document = std::move(child);
    }
    for (MemoryDocument* document : level) document->Changed();  // their frame lists are new
    level = std::move(next);
  }
}

void MemoryDocument::Renumber() {
  long next = 0;
  frames_.clear();
  ForEachNode(*root_, [&](MemoryNode& n) {
    if (n.IsElement()) {
      n.source_index = next++;
      n.stamp = version_;
      if (n.frame_document && (n.HasTag(u"FRAME") || n.HasTag(u"IFRAME"))) frames_.push_back(n.frame_document);
    }
    return true;
  });
  element_count_ = next;
  numbered_version_ = version_;
}

long MemoryDocument::SourceIndexOf(const MemoryNode& node) {
  if (numbered_version_ != version_) Renumber();
  // A node that the last numbering did not reach is no longer in the document.
  return node.stamp == version_ ? node.source_index : -1;
}

ElementPtr MemoryDocument::Body() {
  for (const auto& html : root_->children) {
    if (!html->HasTag(u"HTML")) continue;
    // A frameset page answers with its FRAMESET, as the browser does.
    for (const auto& c : html->children)
      if (c->HasTag(u"BODY") || c->HasTag(u"FRAMESET")) return Wrap(c);
  }
  return nullptr;
}

std::optional<WideString> MemoryDocument::Title() {
  NodePtr title = FindNode(*root_, [](const MemoryNode& n) { return n.tag == u"TITLE"; });
  if (!title) return WideString();
  // document.title: the text with ASCII whitespace stripped at both ends and collapsed inside.
  WideString text;
  bool gap = false;
  for (const auto& c : title->children) {
    if (c->type != MemoryNode::Type::kText) continue;
    for (char16_t ch : c->data) {
      if (ch == u' ' || ch == u'\t' || ch == u'\n' || ch == u'\f' || ch == u'\r') {
        gap = !text.empty();
        continue;
      }
      if (gap) text += u' ';
      gap = false;
      text += ch;
    }
  }
  return text;
}

std::vector<DocumentPtr> MemoryDocument::FrameDocuments() {
  if (numbered_version_ != version_) Renumber();
  return frames_;
}

ElementPtr MemoryDocument::ElementAt(long source_index) {
  if (numbered_version_ != version_) Renumber();
  return Wrap(FindNode(*root_, [&](const MemoryNode& n) { return n.source_index == source_index; }));
}

ElementPtr MemoryDocument::First(std::string_view tag) {
  const WideString upper = UpperAscii(Utf8ToUtf16(tag));
  return Wrap(FindNode(*root_, [&](const MemoryNode& n) { return n.tag == upper; }));
}

ElementPtr MemoryDocument::ById(std::string_view id) { return ByAttribute("id", id); }

ElementPtr MemoryDocument::ByAttribute(std::string_view name, std::string_view value) {
  const WideString wide_name = Utf8ToUtf16(name), wide = Utf8ToUtf16(value);
  return Wrap(FindNode(*root_, [&](const MemoryNode& n) {
    const WideString* v = n.Attribute(wide_name);
    return v && *v == wide;
  }));
}

std::shared_ptr<MemoryDocument> LoadPageFile(const std::string& folder, const std::string& file_name,
                                             const std::string& host) {
  auto read = [&folder](const std::string& name) -> std::optional<std::string> {
    if (name.find('/') != std::string::npos || name.find("..") != std::string::npos) return std::nullopt;
    std::ifstream in(folder + "/" + name, std::ios::binary);
    if (!in) return std::nullopt;
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
  };
  const std::string prefix = "http://" + host + "/";
  auto html = read(file_name);
  if (!html) return nullptr;
  FrameSource frames = [&](const WideString& src, const WideString&) -> std::optional<FramePage> {
    const std::string name = Utf16ToUtf8(src);
    auto text = read(name);
    if (!text) return std::nullopt;
    return FramePage{Utf8ToUtf16(prefix + name), std::move(*text)};
  };
  return MemoryDocument::Parse(*html, Utf8ToUtf16(prefix + file_name), frames);
}

}  // namespace ph
