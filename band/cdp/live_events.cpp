// Listening to live documents, and routing what the page reports to the engine.
#include "band/cdp/live_events.h"

namespace ph::cdp {

std::optional<std::uint32_t> LiveEvents::Advise(Document& document, DocumentEventSink& sink) {
  auto* live = dynamic_cast<LiveDocument*>(&document);
  if (!live) return std::nullopt;
  try {
    live->Invoke("listen", {true});
  } catch (const std::exception&) {
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
  } catch (const std::exception&) {
    // A page that is gone does not listen any more either.
  }
}

void LiveEvents::RefuseNavigation(bool refuse) {
  for (auto& [cookie, connection] : connections_) {
    try {
      connection.document->Invoke("refuseNavigation", {refuse});
    } catch (const std::exception&) {
      // Nothing to refuse on a page that is gone.
    }
  }
}

MouseEvent MouseEventFromReport(LiveDocument& document, const Json& payload) {
  MouseEvent event;
  event.source = document.FromAnswer(payload.value("target", Json()));
  switch (payload.value("button", -1)) {
    case 0: event.button = 1; break;
    case 1: event.button = 4; break;
    case 2: event.button = 2; break;
    default: event.button = 0;
  }
  event.shift = payload.value("shift", false);
  event.ctrl = payload.value("ctrl", false);
  event.alt = payload.value("alt", false);
  return event;
}

void LiveEvents::Deliver(const PageReport& report, bool click) {
  for (auto& [cookie, connection] : connections_) {
    if (connection.document != report.document) continue;
    const MouseEvent event = MouseEventFromReport(*report.document, report.payload);
    if (click) {
      connection.sink->OnClick(event);
    } else {
      connection.sink->OnHover(event);
    }
    return;
  }
}

bool LiveEvents::Pump(Clock::time_point deadline) {
  std::vector<PageReport> reports;
  const bool alive = page_.Pump(deadline, &reports);
  for (std::size_t i = 0; i < reports.size(); ++i) {
    const std::string type = reports[i].payload.value("type", "");
    if (type == "finish") {
      finish_ = true;
    } else if (type == "click") {
      Deliver(reports[i], true);
    } else if (type == "hover") {
      const bool superseded = i + 1 < reports.size() && reports[i + 1].payload.value("type", "") == "hover";
      if (!superseded) Deliver(reports[i], false);
    }
  }
  return alive;
}

bool LiveEvents::TakeFinish() {
  const bool finish = finish_;
  finish_ = false;
  return finish;
}

}  // namespace ph::cdp
