// Matching DevTools replies to their commands and keeping the events in between.
#include "band/cdp/posix/devtools_client.h"

namespace ph::cdp {

std::optional<Json> DevToolsClient::ReadOne(Clock::time_point deadline) {
  auto text = pipe_.Receive(deadline);
  if (!text) return std::nullopt;
  Json message = Json::parse(*text, nullptr, false);
  if (message.is_discarded() || !message.is_object()) throw DevToolsError("the browser sent a message that is not JSON");
  if (message.contains("method") && !message.contains("id")) {
    Event event{message.value("method", ""), message.value("sessionId", ""), message.value("params", Json::object())};
    events_.push_back(std::move(event));
  }
  return message;
}

Json DevToolsClient::Call(const std::string& method, Json params, const std::string& session_id, Clock::duration timeout) {
  const auto deadline = Clock::now() + timeout;
  const long id = next_id_++;
  Json command = {{"id", id}, {"method", method}, {"params", std::move(params)}};
  if (!session_id.empty()) command["sessionId"] = session_id;
  pipe_.Send(command.dump(), deadline);
  for (;;) {
    auto message = ReadOne(deadline);
    if (!message) throw DevToolsError(method + " got no answer in time");
    // Replies to commands given up on earlier have other ids and are dropped.
    const auto it = message->find("id");
    if (it == message->end() || !it->is_number_integer() || it->get<long>() != id) continue;
    if (const auto error = message->find("error"); error != message->end())
      throw DevToolsError(method + ": " + (error->is_object() ? error->value("message", "error") : std::string("error")));
    return message->value("result", Json::object());
  }
}

std::optional<Event> DevToolsClient::WaitForEvent(const std::function<bool(const Event&)>& match,
                                                  Clock::time_point deadline) {
  std::size_t seen = 0;
  for (;;) {
    for (; seen < events_.size(); ++seen) {
      if (match(events_[seen])) {
        Event event = std::move(events_[seen]);
        events_.erase(events_.begin() + static_cast<std::ptrdiff_t>(seen));
        return event;
      }
    }
    if (!ReadOne(deadline)) return std::nullopt;
  }
}

void DevToolsClient::DrainEvents(const std::function<void(const Event&)>& visit) {
  std::deque<Event> events;
  events.swap(events_);
  for (const Event& event : events) visit(event);
}

}  // namespace ph::cdp
