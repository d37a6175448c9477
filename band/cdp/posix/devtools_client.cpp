// Matching DevTools replies to their commands and keeping the events in between.
#include "band/cdp/posix/devtools_client.h"

namespace ph::cdp {
namespace {

// The result of a reply; its error, named after the command, thrown.
Json ResultOf(const Json& reply, const std::string& method = "the browser") {
  if (const auto error = reply.find("error"); error != reply.end())
    throw DevToolsError(method + ": " + (error->is_object() ? error->value("message", "error") : std::string("error")));
  return reply.value("result", Json::object());
}

}  // namespace

std::optional<Json> DevToolsClient::ReadOne(Clock::time_point deadline) {
  auto text = pipe_.Receive(deadline);
  if (!text) return std::nullopt;
  Json message = Json::parse(*text, nullptr, false);
  if (message.is_discarded() || !message.is_object()) throw DevToolsError("the browser sent a message that is not JSON");
  if (message.contains("method") && !message.contains("id")) {
    Event event{message.value("method", ""), message.value("sessionId", ""), message.value("params", Json::object())};
    events_.push_back(std::move(event));
  } else if (const auto id = message.find("id"); id != message.end() && id->is_number_integer() && awaited_.erase(id->get<long>())) {
    replies_.emplace(id->get<long>(), message);
  }
  return message;
}

long DevToolsClient::Post(const std::string& method, Json params, const std::string& session_id, Clock::time_point deadline) {
  const long id = next_id_++;
  Json command = {{"id", id}, {"method", method}, {"params", std::move(params)}};
  if (!session_id.empty()) command["sessionId"] = session_id;
  pipe_.Send(command.dump(), deadline);
  return id;
}

long DevToolsClient::Send(const std::string& method, Json params, const std::string& session_id) {
  // A pipe the browser does not read for this long is as good as broken.
  const long id = Post(method, std::move(params), session_id, Clock::now() + std::chrono::seconds(30));
  awaited_.insert(id);
  return id;
}

std::optional<Json> DevToolsClient::TakeReply(long id) {
  const auto it = replies_.find(id);
  if (it == replies_.end()) return std::nullopt;
  const Json message = std::move(it->second);
  replies_.erase(it);
  return ResultOf(message);
}

Json DevToolsClient::Call(const std::string& method, Json params, const std::string& session_id, Clock::duration timeout) {
  const auto deadline = Clock::now() + timeout;
  const long id = Post(method, std::move(params), session_id, deadline);
  for (;;) {
    auto message = ReadOne(deadline);
    if (!message) throw DevToolsError(method + " got no answer in time");
    // A crashed tab answers nothing more; the event stays queued for whoever watches the tab.
    if (!session_id.empty() && message->value("method", "") == "Inspector.targetCrashed" &&
        message->value("sessionId", "") == session_id)
      throw DevToolsError(method + ": the tab crashed");
    // Replies to commands given up on earlier have other ids and are dropped.
    const auto it = message->find("id");
    if (it == message->end() || !it->is_number_integer() || it->get<long>() != id) continue;
    return ResultOf(*message, method);
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
