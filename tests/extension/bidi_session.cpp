// BiDi commands matched to their replies by id, and remote values read back as JSON.
#include "tests/extension/bidi_session.h"

namespace ph::test {

Json BidiSession::Call(const std::string& method, Json params, Clock::duration timeout) {
  const long id = next_id_++;
  if (!socket_.Send(Json{{"id", id}, {"method", method}, {"params", std::move(params)}}.dump()))
    throw BidiError(method + ": the connection to the browser is gone");
  const auto deadline = Clock::now() + timeout;
  for (;;) {
    const std::optional<std::string> text = socket_.Receive(deadline);
    if (!text) throw BidiError(method + (socket_.closed() ? ": the browser closed the connection" : ": no reply in time"));
    const Json message = Json::parse(*text, nullptr, false);
    // Replies to commands given up on, and events.
    if (!message.is_object() || message.value("id", 0L) != id) continue;
    if (message.value("type", "") == "error")
      throw BidiError(method + ": " + message.value("error", "?") + ": " + message.value("message", ""));
    return message.value("result", Json::object());
  }
}

Json FromRemoteValue(const Json& remote) {
  if (!remote.is_object()) return nullptr;
  const std::string type = remote.value("type", "");
  const auto value = remote.find("value");
  if (value == remote.end()) return nullptr;
  if (type == "string" || type == "boolean") return *value;
  // NaN, -0 and the infinities come as strings, which JSON has no number for.
  if (type == "number") return value->is_number() ? *value : Json(nullptr);
  if (type == "array") {
    Json out = Json::array();
    for (const Json& item : *value) out.push_back(FromRemoteValue(item));
    return out;
  }
  if (type == "object") {
    Json out = Json::object();
    for (const Json& entry : *value)
      if (entry.is_array() && entry.size() == 2 && entry[0].is_string())
        out[entry[0].get<std::string>()] = FromRemoteValue(entry[1]);
    return out;
  }
  return nullptr;
}

}  // namespace ph::test
