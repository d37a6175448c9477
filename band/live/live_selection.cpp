// Selection mode on a live page: the bar's texts, and the user's signals turned into the engine's commands.
#include "band/live/live_selection.h"

#include "common/utf8.h"

namespace ph::live {

std::string BarText(const EngineSettings& settings) {
  std::string text = "PageHarvest: point at a region and click.";
  const std::pair<ModifierSet, const char*> keys[] = {{settings.normal_mod, "pick and finish"},
                                                      {settings.multi_mod, "pick"},
                                                      {settings.deselect_mod, "cut out"},
                                                      {settings.exclude_table_mod, "remove tables"}};
  for (const auto& [set, what] : keys) text += std::string(" ") + ModifierSetText(set, "+") + "+click: " + what + ".";
  return text + " Esc: leave without keeping anything.";
}

std::string PicksText(const std::vector<PickedElement>& picks) {
  if (picks.empty()) return "Nothing picked yet.";
  std::string text = std::to_string(picks.size()) + (picks.size() == 1 ? " region picked:" : " regions picked:");
  for (const PickedElement& pick : picks) {
    Element& element = *pick.element;
    text += ' ' + Utf16ToUtf8(element.TagName().value_or(u"?"));
    if (const auto id = element.Id(); id && !id->empty()) text += '#' + Utf16ToUtf8(*id);
    if (const auto classes = element.ClassName(); classes && !classes->empty()) {
      const WideString first = classes->substr(0, classes->find(u' '));
      if (!first.empty()) text += '.' + Utf16ToUtf8(first);
    }
  }
  return text;
}

void LiveSelection::Show(const char* operation, const std::string& text) {
  try {
    if (const auto top = page_.TopFrame()) page_.Invoke(*top, operation, Json::array({text}));
  } catch (const PageError&) {
    // Without the bar the selection still ends by a click, Enter or the popup.
  }
}

void LiveSelection::ShowPicks() {
  if (engine_.selection_list().size() == picks_shown_) return;
  picks_shown_ = engine_.selection_list().size();
  Show("showPicks", PicksText(engine_.selection_list()));
}

void LiveSelection::Begin(bool fine) {
  if (fine) {
    engine_.OnFineSelectionCommand();
  } else {
    engine_.OnStartSelectionCommand(true);
  }
  events_.RefuseNavigation(engine_.ShouldCancelNavigation());
  Show("showBar", BarText(engine_.settings()));
  state_ = engine_.selection_active() ? State::kSelecting : State::kFinished;
}

LiveSelection::State LiveSelection::Step(Clock::time_point deadline) {
  if (state_ != State::kSelecting) return state_;
  if (!events_.Pump(deadline)) return state_ = State::kClosed;
  const PageSignals signals = events_.TakeSignals();
  if (signals.cancel) {
    engine_.CancelSelection();
  } else if (signals.finish && engine_.selection_active()) {
    engine_.OnStartSelectionCommand(false);
  } else if (signals.leave) {
    engine_.RestoreHover();
  }
  if (page_.gone()) return state_ = State::kClosed;
  if (engine_.selection_active()) {
    ShowPicks();
    return state_;
  }
  Show("hideBar", {});
  return state_ = signals.cancel ? State::kCancelled : State::kFinished;
}

LiveSelection::State LiveSelection::Finish() {
  if (state_ != State::kSelecting) return state_;
  if (engine_.selection_active()) engine_.OnStartSelectionCommand(false);
  Show("hideBar", {});
  return state_ = State::kFinished;
}

}  // namespace ph::live
