// The document port over a live page's DOM: every call asks the page as it is now.
#pragma once

#include "band/engine/document.h"
#include "band/live/live_page.h"

namespace ph::live {

// One frame's document. Elements are numbers handed out by the frame's page helper; what is read of
// them holds until the page's generation changes (see LivePage::generation).
class LiveDocument : public Document, public std::enable_shared_from_this<LiveDocument> {
 public:
  LiveDocument(std::shared_ptr<LivePage> page, FrameKey frame) : page_(std::move(page)), frame_(frame) {}

  // The document of a frame of the page, one object per frame; the top document is null when the
  // page cannot be reached.
  static std::shared_ptr<LiveDocument> Frame(const std::shared_ptr<LivePage>& page, FrameKey frame);
  static std::shared_ptr<LiveDocument> Top(const std::shared_ptr<LivePage>& page);

  ElementPtr Body() override;
  std::optional<WideString> Url() override;
  std::optional<WideString> Title() override;
  CollectionPtr ElementsByTagName(WideView tag) override;
  std::vector<DocumentPtr> FrameDocuments() override;
  // Every element with its parent and tag in one question to the page; the words come from the form's
  // parser when it has one, else from each element's text.
  DocumentOutline Outline(bool with_words) override;
  // In one question to the page too; empty when the helper cannot answer it (asking each element
  // would cost a round trip per element and attribute).
  std::vector<WideString> OutlineNames() override;

  // The helper's operation in this document's frame; throws PageError.
  Json Invoke(const std::string& operation, Json arguments = Json::array()) {
    return page_->Invoke(frame_, operation, std::move(arguments));
  }
  // The element of a [handle, tag name] answer; null for anything else.
  ElementPtr FromAnswer(const Json& answer);
  LivePage& page() { return *page_; }
  FrameKey frame() const { return frame_; }

 private:
  std::shared_ptr<LivePage> page_;
  FrameKey frame_;
};

// The handle number behind a live element, or -1 for elements of other documents (tests and tools
// that reach the page through it).
long LiveHandle(Element& element);

}  // namespace ph::live
