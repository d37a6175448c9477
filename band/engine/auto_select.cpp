// Auto Selection: the block a rule picks is highlighted and finished as a selection made by hand.
#include "band/engine/selection_engine.h"

#include "band/engine/article_finder.h"
#include "band/engine/extraction.h"

namespace ph {

bool SelectionEngine::ArticleAutoSelection() {
  if (auto_selection_ != AutoSelectionMode::kSetting) return auto_selection_ == AutoSelectionMode::kArticle;
  // Only this value is taken: the others change when selection mode is switched, as always.
  EngineSettings now;
  ReadEngineSettings(ports_.registry, &now);
  settings_.auto_selection_mode = now.auto_selection_mode;
  return settings_.auto_selection_mode == 1;
}

void SelectionEngine::AutoSelect() {
  DocumentPtr top = ports_.browser.TopDocument();
  if (!top) return;
  const DocumentList documents = CollectDocuments(top);
  ElementPtr best = ArticleAutoSelection() ? FindArticle(documents) : FindRichestBlock(documents);
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
