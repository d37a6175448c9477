// Quick Save: the layout's stored regions found again, by paths or by relocation.
#include "band/engine/selection_engine.h"

#include <algorithm>

#include "band/engine/page_host.h"

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
  Relocator relocator(top, ports_.code_page, SmartRelocation());
  std::int32_t id = layouts().FindLayout(top, layout_context());
  if (id == 0 && relocator.smart()) id = LayoutByRegions(top, relocator);
  if (id == 0) {
    ShowError(MessageOwner::kBrowserWindow, "layout not found!", false);
    return;
  }
  // The content goes out under the layout it was found by.
  layout_id_ = id;

  std::vector<ElementPtr> found;
  selections().LocateRegions(id, RegionKind::kTableExclusion, &found, relocator);
  for (const auto& element : found)
    if (element) RemoveTables(element);
  relocator.Forget();

  found.clear();
  selections().LocateRegions(id, RegionKind::kDeselected, &found, relocator);
  for (auto& element : found)
    if (element) deselected_.push_back(std::move(element));

  std::vector<ElementPtr> picked;
  selections().LocateRegions(id, RegionKind::kSelected, &picked, relocator);
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

std::int32_t SelectionEngine::LayoutByRegions(const DocumentPtr& top, Relocator& relocator) const {
  std::int32_t best_id = 0;
  float best = kRelocationThreshold;
  for (const std::int32_t id : layouts().LayoutsOfHost(HostOfDocument(*top, ports_.urls, ports_.code_page))) {
    // A layout is as good as the worst of its picked regions; one that is not found rules it out.
    // Without a fingerprint a path that happens to resolve on another layout proves nothing.
    std::vector<const StoredRegion*> picked;
    bool printed = true;
    for (const auto& region : selections().regions()) {
      if (region.layout_id != id || region.kind != RegionKind::kSelected) continue;
      picked.push_back(&region);
      printed = printed && region.fingerprint;
    }
    if (picked.empty() || !printed) continue;
    float worst = 2.0f;
    for (const Located& located : relocator.LocateAll(picked))
      worst = std::min(worst, located.element ? located.score : -1.0f);
    if (worst <= 1.0f && worst >= best && (best_id == 0 || worst > best)) {
      best = worst;
      best_id = id;
    }
  }
  return best_id;
}

}  // namespace ph
