// Selection mode on a live page: the bar, and the engine driven by what the user does until it ends.
#pragma once

#include "band/engine/selection_engine.h"
#include "band/live/live_events.h"

namespace ph::live {

class LiveSelection {
 public:
  // The engine's document events must be `events` while the selection runs.
  LiveSelection(SelectionEngine& engine, LivePage& page, LiveEvents& events)
      : engine_(engine), page_(page), events_(events) {}

  enum class State {
    kSelecting,
    kFinished,   // the engine left selection mode: a click that ends, Finish, Enter, the popup
    kCancelled,  // Esc or Cancel: nothing is kept
    kClosed,     // the page was closed or left, or the browser ended: nothing can be read any more
  };

  // Selection mode on (Fine Selection: widening off), with the bar shown.
  void Begin(bool fine);
  // Takes what the page reports until the deadline and acts on it.
  State Step(Clock::time_point deadline);
  // Ends selection mode from outside the page (Enter on a terminal, the extension's popup).
  State Finish();
  State state() const { return state_; }

 private:
  void Show(const char* operation, const std::string& text);
  void ShowPicks();

  SelectionEngine& engine_;
  LivePage& page_;
  LiveEvents& events_;
  State state_ = State::kSelecting;
  std::size_t picks_shown_ = 0;
};

// The bar's text: what each modifier set of the settings does.
std::string BarText(const EngineSettings& settings);
// The bar's second line: how many regions are picked, and which (tag, id and first class).
std::string PicksText(const std::vector<PickedElement>& picks);

}  // namespace ph::live
