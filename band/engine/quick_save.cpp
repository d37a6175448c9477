// "Quick Save" (a layout's stored selection found again) and "Auto Selection" (the richest block).
#include "band/engine/selection_engine.h"

#include "band/engine/extraction.h"

namespace ph {

void SelectionEngine::Highlight(const ElementPtr& element) {
  StylePtr style = element->InlineStyle();
  if (!style) return;
  selected_.push_back(PickedElement{element, style->BackgroundColor()});
  style->SetBackgroundColor(WidenAscii(settings_.highlight_color));
}

void SelectionEngine::QuickSave() {
  DocumentPtr top = ports_.browser.TopDocument();
  if (!top) return;
  const std::int32_t id = layouts_.FindLayout(top, layout_context());
  if (id == 0) {
    ShowError(MessageOwner::kBrowserWindow, "layout not found!", false);
    return;
  }
  // The content goes out under the layout it was found by.
  layout_id_ = id;
  const CodePage& cp = ports_.code_page;

  std::vector<ElementPtr> found;
  selections_.LocateRegions(id, RegionKind::kTableExclusion, &found, top, cp);
  for (const auto& element : found)
    if (element) RemoveTables(element);

  found.clear();
  selections_.LocateRegions(id, RegionKind::kDeselected, &found, top, cp);
  for (auto& element : found)
    if (element) deselected_.push_back(std::move(element));

  std::vector<ElementPtr> picked;
  selections_.LocateRegions(id, RegionKind::kSelected, &picked, top, cp);
  if (picked.empty()) {
    ShowError(MessageOwner::kControlWindow,
              "No selection found for this document. Make a manual selection first", true);
  }
  for (const auto& element : picked) {
    if (!element) {
      ShowError(MessageOwner::kControlWindow,
                "Not all selections have been located. Perhaps the layout of this document has changed. "
                "Make a manual selection first.",
                false);
      return;
    }
  }
  for (const auto& element : picked) Highlight(element);
  ports_.timers.Start(kQuickSaveTimer, kFinishDelayMs);
}

void SelectionEngine::AutoSelect() {
  DocumentPtr top = ports_.browser.TopDocument();
  if (!top) return;
  ElementPtr best = FindRichestBlock(CollectDocuments(top));
  if (!best) {
    ShowError(MessageOwner::kControlWindow, "Unable to auto selection", false);
    return;
  }
  best->ScrollIntoView(true);
  if (!best->InlineStyle()) return;
  Highlight(best);
  RegisterLayout();
  ports_.timers.Start(kAutoSelectTimer, kFinishDelayMs);
}

}  // namespace ph
