// The document port over the live DOM of a browser tab: every call asks the page as it is now.
#pragma once

#include "band/cdp/live_page.h"
#include "band/engine/document.h"

namespace ph::cdp {

// One frame's document. Elements are numbers handed out by the helper script of the frame's world;
// what is read of them holds until the page's generation changes (see LivePage::generation).
class LiveDocument : public Document, public std::enable_shared_from_this<LiveDocument> {
 public:
  LiveDocument(std::shared_ptr<LivePage> page, int context) : page_(std::move(page)), context_(context) {}

  ElementPtr Body() override;
  std::optional<WideString> Url() override;
  std::optional<WideString> Title() override;
  CollectionPtr ElementsByTagName(WideView tag) override;
  std::vector<DocumentPtr> FrameDocuments() override;

  // The helper's operation in this document's world; throws DevToolsError.
  Json Invoke(const char* operation, Json arguments = Json::array()) { return page_->Invoke(context_, operation, std::move(arguments)); }
  // The element of a [handle, tag name] answer; null for anything else.
  ElementPtr FromAnswer(const Json& answer);
  LivePage& page() { return *page_; }
  int context() const { return context_; }

 private:
  std::shared_ptr<LivePage> page_;
  int context_;
};

// The handle number behind a live element, or -1 for elements of other documents (tests and tools
// that reach the page through it).
long LiveHandle(Element& element);

}  // namespace ph::cdp
