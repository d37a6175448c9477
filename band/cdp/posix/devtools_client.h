// DevTools commands and events over a message pipe: commands carry ids, replies are matched by id,
// events that arrive meanwhile are queued for whoever waits for them.
#pragma once

#include <deque>
#include <functional>
#include <map>
#include <set>

#include <nlohmann/json.hpp>

#include "band/cdp/posix/devtools_pipe.h"

namespace ph::cdp {

using Json = nlohmann::json;

struct Event {
  std::string method;
  std::string session_id;  // empty for events of the browser itself
  Json params;
};

class DevToolsClient {
 public:
  explicit DevToolsClient(DevToolsPipe& pipe) : pipe_(pipe) {}

  // Sends a command (to a page's session when session_id is given) and returns its result. Throws
  // DevToolsError on an error reply, a timeout or a broken pipe.
  Json Call(const std::string& method, Json params = Json::object(), const std::string& session_id = {},
            Clock::duration timeout = std::chrono::seconds(30));

  // Sends a command without waiting for its reply, which is kept for TakeReply; the command's id.
  long Send(const std::string& method, Json params = Json::object(), const std::string& session_id = {});
  // The reply to a sent command once it has come, removed; throws DevToolsError on an error reply.
  std::optional<Json> TakeReply(long id);
  // Reads one message, or nothing by the deadline: replies and events are kept as they come.
  bool Pump(Clock::time_point deadline) { return ReadOne(deadline).has_value(); }

  // The first queued or arriving event that matches, removed from the queue; nothing at the deadline.
  std::optional<Event> WaitForEvent(const std::function<bool(const Event&)>& match, Clock::time_point deadline);
  // Hands every event queued so far to visit and empties the queue.
  void DrainEvents(const std::function<void(const Event&)>& visit);

 private:
  // Writes a command; its id.
  long Post(const std::string& method, Json params, const std::string& session_id, Clock::time_point deadline);
  // Reads one message and queues it if it is an event; returns it parsed.
  std::optional<Json> ReadOne(Clock::time_point deadline);

  DevToolsPipe& pipe_;
  long next_id_ = 1;
  std::deque<Event> events_;
  std::set<long> awaited_;        // sent commands whose replies have not come
  std::map<long, Json> replies_;  // replies come for sent commands, not taken yet
};

}  // namespace ph::cdp
