// The end of a selection: layout registration, cut-outs, extraction, remembering and sending.
#include "band/engine/selection_engine.h"

#include "band/engine/page_host.h"
#include "band/engine/page_text.h"

namespace ph {
namespace {

// Drops every entry that lies inside another entry, so only the outermost regions remain.
void KeepOutermost(std::vector<ElementPtr>* list) {
  auto& l = *list;
  for (std::size_t i = 0; i < l.size(); ++i) {
    for (std::size_t j = 0; j < l.size();) {
      if (j != i && l[i]->Contains(*l[j])) {
        l.erase(l.begin() + static_cast<std::ptrdiff_t>(j));
        if (j < i) --i;
      } else {
        ++j;
      }
    }
  }
}

bool IsBlank(char16_t c) {
  return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n' || c == u'\f' || c == 0x00A0;
}

// A region with no visible text and nothing embedded that could be content of its own.
bool HoldsNothing(Element& element, const std::optional<WideString>& text) {
  if (text)
    for (char16_t c : *text)
      if (!IsBlank(c)) return false;
  for (const char16_t* tag : {u"img", u"object", u"embed", u"video", u"audio", u"canvas", u"svg", u"iframe"}) {
    auto found = element.ElementsByTagName(tag);
    if (found && found->Length() > 0) return false;
  }
  return true;
}

}  // namespace

void SelectionEngine::RegisterLayout() {
  DocumentPtr top = ports_.browser.TopDocument();
  if (!top) return;
  std::int32_t id = layouts().FindLayout(top, layout_context());
  if (id == 0) {
    LayoutNode signature;
    BuildLayout(top, &signature);
    id = stores_.LearnLayout(HostOfDocument(*top, ports_.urls, ports_.code_page), std::move(signature));
  }
  layout_id_ = id;
  ports_.toolbar.EnableButton(kCmdQuickSave, true);
}

void SelectionEngine::FinishAndSend(std::int32_t quick_save) { Finish(quick_save, false); }

void SelectionEngine::Finish(std::int32_t quick_save, bool unattended) {
  DocumentPtr top = ports_.browser.TopDocument();
  if (!top) return;
  if (selected_.empty()) {
    excluded_.clear();
    deselected_.clear();
    return;
  }
  const CodePage& cp = ports_.code_page;
  KeepOutermost(&deselected_);
  // The regions the layout keeps from now on; what a finish nobody watches would keep is stored only
  // once it is known that there is content.
  std::vector<StoredRegion> stored;
  if (quick_save == 0) {
    AppendRegionRecords(layout_id_, RegionKind::kTableExclusion, excluded_, top, cp, &stored);
    excluded_.clear();
    AppendRegionRecords(layout_id_, RegionKind::kDeselected, deselected_, top, cp, &stored);
  }
  for (const auto& element : deselected_) {
    if (StylePtr style = element->InlineStyle()) style->SetVisibility(u"hidden");
    if (HasTag(*element, "table")) {
      element->SetOuterHtml(u"\r\n");
    } else {
      element->SetInnerHtml(u"\r\n");
    }
  }
  const bool had_deselections = !deselected_.empty();
  deselected_.clear();
  if (had_deselections) ports_.toolbar.EnableButton(kCmdQuickSave, false);

  static const WideString kBreak = u"\r\n";
  std::optional<WideString> html, text;
  std::vector<ElementPtr> picked;
  bool all_empty = true;
  for (const auto& entry : selected_) {
    if (quick_save == 0) picked.push_back(entry.element);
    const auto inner_html = entry.element->InnerHtml();
    const auto inner_text = entry.element->InnerText();
    if (all_empty && !HoldsNothing(*entry.element, inner_text)) all_empty = false;
    const WideString* separator = html ? &kBreak : nullptr;
    text = AppendWithSeparator(std::move(text), separator, inner_text ? &*inner_text : nullptr);
    html = AppendWithSeparator(std::move(html), separator, inner_html ? &*inner_html : nullptr);
    if (StylePtr style = entry.element->InlineStyle()) style->SetBackgroundColor(entry.saved_background);
  }
  if (unattended && all_empty) {
    // A found region that turned out empty is a page the layout no longer fits, not content: saving
    // it would report an empty file or row as a success.
    selected_.clear();
    ShowError(MessageOwner::kControlWindow, kEmptySelectionsMessage, false);
    return;
  }
  if (quick_save == 0) {
    AppendRegionRecords(layout_id_, RegionKind::kSelected, picked, top, cp, &stored);
    stores_.ReplaceRegions(layout_id_, std::move(stored));
  }
  selected_.clear();

  OutgoingContent content;
  content.html = std::move(*html);
  content.text = std::move(*text);
  content.layout_id = layout_id_;
  content.quick_save = quick_save;
  ports_.link.Send(top, content);
}

}  // namespace ph
