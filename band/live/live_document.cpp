// Elements, collections and inline styles of a live page, each call a question to the frame's helper.
#include "band/live/live_document.h"

#include <unordered_map>

#include "band/engine/inline_style.h"
#include "band/engine/page_text.h"
#include "common/ascii.h"
#include "common/utf8.h"

namespace ph::live {
namespace {

using DocumentRef = std::shared_ptr<LiveDocument>;

WideString Wide(const Json& value) { return value.is_string() ? Utf8ToUtf16(value.get_ref<const std::string&>()) : WideString(); }
std::string Narrow(WideView text) { return Utf16ToUtf8(text); }

// A question to the page; nothing when the page cannot answer (gone, navigated, element removed).
std::optional<Json> Ask(LiveDocument& document, const char* operation, Json arguments = Json::array()) {
  try {
    return document.Invoke(operation, std::move(arguments));
  } catch (const PageError&) {
    return std::nullopt;
  }
}

bool AnsweredTrue(const std::optional<Json>& answer) { return answer && answer->is_boolean() && answer->get<bool>(); }

class LiveElement;

class LiveCollection : public ElementCollection {
 public:
  LiveCollection(DocumentRef document, const char* operation, Json arguments, std::vector<WideString> filters = {})
      : document_(std::move(document)), operation_(operation), arguments_(std::move(arguments)), filters_(std::move(filters)) {}

  long Length() override {
    Load();
    return static_cast<long>(items_.size());
  }
  ElementPtr Item(long index) override {
    Load();
    if (index < 0 || index >= static_cast<long>(items_.size())) return nullptr;
    return document_->FromAnswer(items_[static_cast<std::size_t>(index)]);
  }
  CollectionPtr Tags(WideView tag) override {
    std::vector<WideString> filters = filters_;
    filters.emplace_back(tag);
    return std::make_shared<LiveCollection>(document_, operation_, arguments_, std::move(filters));
  }

 private:
  void Load() {
    if (generation_ == document_->page().generation()) return;
    generation_ = document_->page().generation();
    items_.clear();
    const auto answer = Ask(*document_, operation_, arguments_);
    if (!answer || !answer->is_array()) return;
    for (const Json& item : *answer) {
      if (!item.is_array() || item.size() != 2 || !item[1].is_string()) continue;
      const WideString tag = Wide(item[1]);
      bool wanted = true;
      for (const WideString& filter : filters_) wanted = wanted && EqualsIgnoringCase(tag, filter);
      if (wanted) items_.push_back(item);
    }
  }

  DocumentRef document_;
  const char* operation_;
  Json arguments_;
  std::vector<WideString> filters_;
  std::uint64_t generation_ = 0;
  std::vector<Json> items_;
};

// The inline style is the element's style attribute, read and written as the in-memory document
// does it, so that a highlight put back leaves the attribute as the other bindings leave it and the
// background exactly as it was declared.
class LiveStyle : public Style {
 public:
  LiveStyle(DocumentRef document, long handle) : document_(std::move(document)), handle_(handle) {}

  StyleValue BackgroundColor() override {
    const auto attribute = Attribute();
    if (!attribute) return std::nullopt;
    return StyleProperty(attribute->has_value() ? &**attribute : nullptr, u"background-color");
  }
  bool SetBackgroundColor(const StyleValue& value) override { return Put(u"background-color", value.value_or(u"")); }
  bool SetVisibility(WideView value) override { return Put(u"visibility", WideString(value)); }

 private:
  // The attribute (nothing inside when the element has none); nothing at all when it cannot be read.
  std::optional<std::optional<WideString>> Attribute() {
    const auto answer = Ask(*document_, "style", {handle_});
    if (!answer) return std::nullopt;
    return answer->is_string() ? std::optional<WideString>(Wide(*answer)) : std::nullopt;
  }
  bool Put(WideView name, WideString value) {
    const auto attribute = Attribute();
    if (!attribute) return false;
    const WideString text = WithStyleProperty(attribute->has_value() ? &**attribute : nullptr, name, std::move(value));
    return AnsweredTrue(Ask(*document_, "setStyle", {handle_, Narrow(text)}));
  }

  DocumentRef document_;
  long handle_;
};

class LiveElement : public Element {
 public:
  LiveElement(DocumentRef document, long handle, WideString tag)
      : document_(std::move(document)), handle_(handle), tag_(std::move(tag)) {}

  std::optional<WideString> TagName() override { return tag_; }
  ElementPtr Parent() override {
    const auto answer = Ask(*document_, "parent", {handle_});
    return answer ? document_->FromAnswer(*answer) : nullptr;
  }
  CollectionPtr Children() override { return Collection("children", {handle_}); }
  CollectionPtr ElementsByTagName(WideView tag) override { return Collection("tags", {handle_, Narrow(tag)}); }
  DocumentPtr OwnerDocument() override { return document_; }

  long SourceIndex() override {
    const std::uint64_t now = document_->page().generation();
    if (index_generation_ != now) {
      const auto answer = Ask(*document_, "index", {handle_});
      index_ = answer && answer->is_number_integer() ? answer->get<long>() : -1;
      index_generation_ = now;
    }
    return index_;
  }
  bool Contains(Element& other) override {
    auto* live = dynamic_cast<LiveElement*>(&other);
    if (!live || live->document_ != document_) return false;
    return AnsweredTrue(Ask(*document_, "contains", {handle_, live->handle_}));
  }

  std::optional<WideString> InnerHtml() override {
    const auto markup = Markup(false);
    if (!markup) return std::nullopt;
    return document_->page().form().Inner(tag_, *markup);
  }
  std::optional<WideString> OuterHtml() override {
    const auto markup = Markup(true);
    if (!markup) return std::nullopt;
    const auto parent = Parent();
    const WideString parent_tag = parent ? parent->TagName().value_or(WideString()) : WideString(u"BODY");
    return document_->page().form().Outer(tag_, parent_tag, *markup);
  }
  std::optional<WideString> InnerText() override {
    if (const auto markup = Markup(false))
      if (auto text = document_->page().form().Text(tag_, *markup)) return text;
    const auto answer = Ask(*document_, "text", {handle_});
    return answer && answer->is_string() ? std::optional<WideString>(Wide(*answer)) : std::nullopt;
  }
  bool SetInnerHtml(WideView markup) override { return Write("setMarkup", {handle_, false, Narrow(markup)}); }
  bool SetOuterHtml(WideView markup) override { return Write("setMarkup", {handle_, true, Narrow(markup)}); }
  bool SetInnerText(WideView text) override { return Write("setText", {handle_, Narrow(text)}); }

  bool ScrollIntoView(bool align_to_top) override {
    return AnsweredTrue(Ask(*document_, "scroll", {handle_, align_to_top}));
  }
  StylePtr InlineStyle() override { return std::make_shared<LiveStyle>(document_, handle_); }

  CollectionPtr Rows() override { return tag_ == u"TABLE" ? Collection("rows", {handle_}) : nullptr; }
  CollectionPtr Cells() override { return tag_ == u"TR" ? Collection("cells", {handle_}) : nullptr; }
  std::optional<WideString> Rel() override {
    if (tag_ != u"LINK") return std::nullopt;
    const auto answer = Ask(*document_, "rel", {handle_});
    return answer ? std::optional<WideString>(Wide(*answer)) : std::nullopt;
  }
  std::optional<WideString> Id() override { return Attribute("id"); }
  std::optional<WideString> ClassName() override { return Attribute("class"); }

  long handle() const { return handle_; }

 private:
  CollectionPtr Collection(const char* operation, Json arguments) {
    return std::make_shared<LiveCollection>(document_, operation, std::move(arguments));
  }
  std::optional<WideString> Markup(bool outer) {
    const auto answer = Ask(*document_, "markup", {handle_, outer});
    if (!answer || !answer->is_string()) return std::nullopt;
    return Wide(*answer);
  }
  std::optional<WideString> Attribute(const char* name) {
    const auto answer = Ask(*document_, "attribute", {handle_, name});
    return answer ? std::optional<WideString>(Wide(*answer)) : std::nullopt;
  }
  bool Write(const char* operation, Json arguments) {
    const auto answer = Ask(*document_, operation, std::move(arguments));
    // Whatever came of it, what was read before may be stale now.
    document_->page().Changed();
    return AnsweredTrue(answer);
  }

  DocumentRef document_;
  long handle_;
  WideString tag_;  // upper case: a node keeps its tag for life
  long index_ = -1;
  std::uint64_t index_generation_ = 0;
};

}  // namespace

std::shared_ptr<LiveDocument> LiveDocument::Frame(const std::shared_ptr<LivePage>& page, FrameKey frame) {
  std::weak_ptr<Document>& known = page->documents()[frame];
  if (auto document = known.lock()) return std::static_pointer_cast<LiveDocument>(document);
  auto document = std::make_shared<LiveDocument>(page, frame);
  known = document;
  return document;
}

std::shared_ptr<LiveDocument> LiveDocument::Top(const std::shared_ptr<LivePage>& page) {
  const auto frame = page->TopFrame();
  return frame ? Frame(page, *frame) : nullptr;
}

ElementPtr LiveDocument::FromAnswer(const Json& answer) {
  if (!answer.is_array() || answer.size() != 2 || !answer[0].is_number_integer() || !answer[1].is_string()) return nullptr;
  return std::make_shared<LiveElement>(shared_from_this(), answer[0].get<long>(), UpperAscii(Wide(answer[1])));
}

ElementPtr LiveDocument::Body() {
  const auto answer = Ask(*this, "body");
  return answer ? FromAnswer(*answer) : nullptr;
}

std::optional<WideString> LiveDocument::Url() {
  const auto answer = Ask(*this, "url");
  return answer && answer->is_string() ? std::optional<WideString>(Wide(*answer)) : std::nullopt;
}

std::optional<WideString> LiveDocument::Title() {
  const auto answer = Ask(*this, "title");
  return answer && answer->is_string() ? std::optional<WideString>(Wide(*answer)) : std::nullopt;
}

CollectionPtr LiveDocument::ElementsByTagName(WideView tag) {
  return std::make_shared<LiveCollection>(shared_from_this(), "tags", Json::array({0, Narrow(tag)}));
}

std::vector<DocumentPtr> LiveDocument::FrameDocuments() {
  std::vector<DocumentPtr> documents;
  const auto answer = Ask(*this, "frames");
  if (!answer || !answer->is_array()) return documents;
  for (const Json& frame : *answer) {
    if (!frame.is_array() || frame.empty() || !frame[0].is_number_integer()) continue;
    if (const auto child = page_->ChildFrame(frame_, frame[0].get<long>())) documents.push_back(Frame(page_, *child));
  }
  return documents;
}

DocumentOutline LiveDocument::Outline(bool with_words) {
  const auto answer = Ask(*this, "outline");
  if (!answer || !answer->is_object() || !answer->contains("tags") || !answer->contains("items"))
    return Document::Outline(with_words);
  DocumentOutline outline;
  const Json& tags = (*answer)["tags"];
  const Json& items = (*answer)["items"];
  if (!tags.is_array() || !items.is_array()) return outline;
  std::vector<std::uint32_t> numbers;
  for (const Json& tag : tags) numbers.push_back(outline.TagNumber(UpperAscii(Wide(tag))));
  std::vector<long> handles;
  std::vector<WideString> tag_of_entry;
  for (const Json& item : items) {
    if (!item.is_array() || item.size() != 3 || !item[0].is_number_integer() || !item[1].is_number_integer() ||
        !item[2].is_number_unsigned() || item[2].get<std::size_t>() >= numbers.size())
      break;
    DocumentOutline::Entry entry;
    entry.source_index = static_cast<long>(outline.entries.size());
    const auto parent = item[1].get<std::int64_t>();
    entry.parent = parent >= 0 && parent < entry.source_index ? static_cast<std::int32_t>(parent) : -1;
    entry.tag = numbers[item[2].get<std::size_t>()];
    outline.entries.push_back(entry);
    handles.push_back(item[0].get<long>());
    tag_of_entry.push_back(outline.tags[entry.tag]);
  }
  if (!with_words || outline.entries.empty()) return outline;
  // The words of every element from one reading of the whole document where the form can parse it;
  // otherwise each element's text in turn.
  std::optional<std::vector<std::int64_t>> words;
  if (const auto root = Ask(*this, "markup", {handles[0], true}); root && root->is_string())
    words = page_->form().Words(Wide(*root), tag_of_entry);
  if (words && words->size() != outline.entries.size()) words.reset();
  for (std::size_t i = 0; i < outline.entries.size(); ++i) {
    if (words) {
      outline.entries[i].words = (*words)[i];
    } else if (auto text = FromAnswer(Json::array({handles[i], Narrow(tag_of_entry[i])}))->InnerText()) {
      outline.entries[i].words = static_cast<std::int64_t>(CountWords(WideView(*text)));
    }
  }
  return outline;
}

std::vector<WideString> LiveDocument::OutlineNames() {
  std::vector<WideString> names;
  const auto answer = Ask(*this, "names");
  if (!answer || !answer->is_array()) return names;
  names.reserve(answer->size());
  for (const Json& name : *answer) names.push_back(Wide(name));
  return names;
}

long LiveHandle(Element& element) {
  auto* live = dynamic_cast<LiveElement*>(&element);
  return live ? live->handle() : -1;
}

}  // namespace ph::live
