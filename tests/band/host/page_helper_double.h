// The page helper's operations answered from any document of the engine's port, for tests without a browser.
#pragma once

#include <map>

#include "band/engine/document.h"
#include "band/engine/inline_style.h"
#include "band/live/page_channel.h"
#include "common/utf8.h"

namespace ph::test {

// Plays the extension's page helper (and its frameId operation) over documents of another binding:
// frames are numbered in the order they are first reached, 0 being the top document.
class PageHelperDouble {
 public:
  using Json = live::Json;

  explicit PageHelperDouble(DocumentPtr top) { documents_.push_back(std::move(top)); }

  // The handle the helper of a frame gives an element.
  long Handle(long frame, const ElementPtr& element) {
    auto& handles = handles_[frame];
    const long index = element->SourceIndex();
    if (const auto it = handles.find(index); it != handles.end()) return it->second;
    elements_[frame].push_back(element);
    return handles[index] = static_cast<long>(elements_[frame].size());
  }
  Json Pair(long frame, const ElementPtr& element) {
    if (!element) return Json();
    return Json::array({Handle(frame, element), Utf16ToUtf8(element->TagName().value_or(u""))});
  }
  // The frame key of a document, numbering it when it is new.
  long FrameOf(const DocumentPtr& document) {
    for (std::size_t i = 0; i < documents_.size(); ++i)
      if (documents_[i] == document) return static_cast<long>(i);
    documents_.push_back(document);
    return static_cast<long>(documents_.size() - 1);
  }

  // The answer to one call; throws std::runtime_error as the helper's script would fail.
  Json Call(long frame, const std::string& op, const Json& args) {
    if (frame < 0 || static_cast<std::size_t>(frame) >= documents_.size()) throw std::runtime_error("no such frame");
    Document& document = *documents_[frame];
    const auto node = [&](std::size_t i) {
      const long h = args.at(i).get<long>();
      if (h <= 0 || h > static_cast<long>(elements_[frame].size())) throw std::runtime_error("unknown element");
      return elements_[frame][h - 1];
    };
    const auto list = [&](const CollectionPtr& items) {
      Json out = Json::array();
      for (long i = 0, n = items ? items->Length() : 0; i < n; ++i) out.push_back(Pair(frame, items->Item(i)));
      return out;
    };
    const auto text = [](const std::optional<WideString>& value) { return value ? Json(Utf16ToUtf8(*value)) : Json(); };
    if (op == "body") return Pair(frame, document.Body());
    if (op == "url") return text(document.Url());
    if (op == "title") return text(document.Title());
    if (op == "parent") return Pair(frame, node(0)->Parent());
    if (op == "children") return list(node(0)->Children());
    if (op == "tags") {
      const WideString tag = Utf8ToUtf16(args.at(1).get<std::string>());
      return list(args.at(0).get<long>() == 0 ? document.ElementsByTagName(tag) : node(0)->ElementsByTagName(tag));
    }
    if (op == "rows") return list(node(0)->Rows());
    if (op == "cells") return list(node(0)->Cells());
    if (op == "index") return node(0)->SourceIndex();
    if (op == "contains") return node(0)->Contains(*node(1));
    if (op == "markup") return text(args.at(1).get<bool>() ? node(0)->OuterHtml() : node(0)->InnerHtml());
    if (op == "text") return text(node(0)->InnerText());
    if (op == "setMarkup") {
      const WideString markup = Utf8ToUtf16(args.at(2).get<std::string>());
      return args.at(1).get<bool>() ? node(0)->SetOuterHtml(markup) : node(0)->SetInnerHtml(markup);
    }
    if (op == "setText") return node(0)->SetInnerText(Utf8ToUtf16(args.at(1).get<std::string>()));
    if (op == "scroll") return node(0)->ScrollIntoView(args.at(1).get<bool>());
    if (op == "attribute") {
      const std::string name = args.at(1).get<std::string>();
      const auto value = name == "id" ? node(0)->Id() : name == "class" ? node(0)->ClassName() : std::nullopt;
      return Utf16ToUtf8(value.value_or(u""));
    }
    if (op == "rel") return Utf16ToUtf8(node(0)->Rel().value_or(u""));
    // The style attribute as far as the engine's port shows it: the background.
    if (op == "style") {
      const StylePtr style = node(0)->InlineStyle();
      const StyleValue background = style ? style->BackgroundColor() : std::nullopt;
      return background ? Json("background-color: " + Utf16ToUtf8(*background) + ";") : Json();
    }
    if (op == "setStyle") {
      const StylePtr style = node(0)->InlineStyle();
      const WideString attribute = Utf8ToUtf16(args.at(1).get<std::string>());
      return style && style->SetBackgroundColor(StyleProperty(&attribute, u"background-color"));
    }
    if (op == "box") return Json::array({0, 0, 0, 0});
    if (op == "frames") {
      Json out = Json::array();
      for (const char* tag : {"FRAME", "IFRAME"})
        for (const Json& item : list(document.ElementsByTagName(Utf8ToUtf16(tag)))) out.push_back(item);
      return out;
    }
    if (op == "frameId") {
      // The frame elements of a document hold its frame documents in order.
      const ElementPtr element = node(0);
      const auto frames = document.FrameDocuments();
      long position = 0;
      for (const char* tag : {"FRAME", "IFRAME"}) {
        const CollectionPtr all = document.ElementsByTagName(Utf8ToUtf16(tag));
        for (long i = 0, n = all ? all->Length() : 0; i < n; ++i, ++position)
          if (SameElement(*all->Item(i), *element))
            return position < static_cast<long>(frames.size()) ? FrameOf(frames[position]) : -1;
      }
      return -1;
    }
    if (op == "outline") {
      const DocumentOutline outline = document.Outline(false);
      Json tags = Json::array(), items = Json::array();
      for (const WideString& tag : outline.tags) tags.push_back(Utf16ToUtf8(tag));
      const CollectionPtr all = document.ElementsByTagName(u"*");
      for (std::size_t i = 0; i < outline.entries.size(); ++i)
        items.push_back(Json::array({Handle(frame, all->Item(static_cast<long>(i))), outline.entries[i].parent,
                                     outline.entries[i].tag}));
      return Json{{"tags", tags}, {"items", items}};
    }
    if (op == "listen" || op == "refuseNavigation" || op == "hideBar") return true;
    if (op == "showBar" || op == "showPicks") {
      bar_[op] = args.at(0).get<std::string>();
      return true;
    }
    throw std::runtime_error("unknown operation " + op);
  }

  // The extension's answer to one of the host's "call" messages.
  Json Answer(const Json& call) {
    Json answer = {{"type", "answer"}, {"id", call["id"]}};
    try {
      answer["value"] = Call(call["frame"].get<long>(), call["op"].get<std::string>(), call["args"]);
    } catch (const std::exception& e) {
      answer["error"] = e.what();
    }
    return answer;
  }

  // What the bar showed last: its keys ("showBar") and its picks ("showPicks").
  std::map<std::string, std::string>& bar() { return bar_; }

 private:
  std::vector<DocumentPtr> documents_;
  std::map<long, std::vector<ElementPtr>> elements_;
  std::map<long, std::map<long, long>> handles_;
  std::map<std::string, std::string> bar_;
};

}  // namespace ph::test
