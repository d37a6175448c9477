// Listening to live documents, and routing what the page reports to the engine.
#include "band/live/live_events.h"

namespace ph::live {

std::optional<std::uint32_t> LiveEvents::Advise(Document& document, DocumentEventSink& sink) {
  auto* live = dynamic_cast<LiveDocument*>(&document);
  if (!live) return std::nullopt;
  try {
    live->Invoke("listen", {true});
  } catch (const PageError&) {
    return std::nullopt;
  }
  connections_[next_cookie_] = Connection{live->shared_from_this(), &sink};
  return next_cookie_++;
}

void LiveEvents::Unadvise(Document& document, std::uint32_t cookie) {
  const auto it = connections_.find(cookie);
  if (it == connections_.end() || it->second.document.get() != &document) return;
  const auto live = std::move(it->second.document);
  connections_.erase(it);
  try {
    live->Invoke("listen", {false});
  } catch (const PageError&) {
    // A page that is gone does not listen any more either.
  }
}

void LiveEvents::RefuseNavigation(bool refuse) {
  for (auto& [cookie, connection] : connections_) {
    try {
      connection.document->Invoke("refuseNavigation", {refuse});
    } catch (const PageError&) {
      // Nothing to refuse on a page that is gone.
    }
  }
}

MouseEvent MouseEventFromReport(LiveDocument& document, const Json& payload) {
  // Reports come through the extension's scripts: a field of the wrong type counts as absent.
  const auto flag = [&](const char* name) {
    const auto it = payload.find(name);
    return it != payload.end() && it->is_boolean() && it->get<bool>();
  };
  MouseEvent event;
  if (const auto target = payload.find("target"); target != payload.end()) event.source = document.FromAnswer(*target);
  const auto button = payload.find("button");
  switch (button != payload.end() && button->is_number_integer() ? button->get<int>() : -1) {
    case 0: event.button = 1; break;
    case 1: event.button = 4; break;
    case 2: event.button = 2; break;
    default: event.button = 0;
  }
  event.shift = flag("shift");
  event.ctrl = flag("ctrl");
  event.alt = flag("alt");
  return event;
}

void LiveEvents::Deliver(const FrameReport& report, bool click) {
  for (auto& [cookie, connection] : connections_) {
    if (connection.document->frame() != report.frame) continue;
    const MouseEvent event = MouseEventFromReport(*connection.document, report.payload);
    if (click) {
      connection.sink->OnClick(event);
    } else {
      connection.sink->OnHover(event);
    }
    return;
  }
}

bool LiveEvents::Pump(Clock::time_point deadline) {
  std::vector<FrameReport> reports;
  const bool alive = page_.Pump(deadline, &reports);
  for (std::size_t i = 0; i < reports.size(); ++i) {
    const std::string type = TypeOf(reports[i].payload);
    const bool hover_follows = i + 1 < reports.size() && TypeOf(reports[i + 1].payload) == "hover";
    if (type == "finish") {
      signals_.finish = true;
    } else if (type == "cancel") {
      signals_.cancel = true;
    } else if (type == "leave") {
      signals_.leave = !hover_follows;
    } else if (type == "click") {
      Deliver(reports[i], true);
    } else if (type == "hover" && !hover_follows) {
      signals_.leave = false;
      Deliver(reports[i], false);
    }
  }
  return alive;
}

PageSignals LiveEvents::TakeSignals() { return std::exchange(signals_, PageSignals{}); }

}  // namespace ph::live
