// A WebDriver BiDi session over a WebSocket: commands with ids, each waited for by its reply.
#pragma once

#include <stdexcept>
#include <string>

#include "tests/extension/extension_rig.h"
#include "tests/extension/websocket_client.h"

namespace ph::test {

// An error reply, a timeout or a closed connection.
class BidiError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class BidiSession {
 public:
  explicit BidiSession(WebSocketClient socket) : socket_(std::move(socket)) {}

  // Sends a command and returns its result; events that come meanwhile are dropped (the rig
  // subscribes to none). Throws BidiError.
  Json Call(const std::string& method, Json params = Json::object(),
            Clock::duration timeout = std::chrono::seconds(30));

 private:
  WebSocketClient socket_;
  long next_id_ = 1;
};

// A script's value from its BiDi serialisation: strings, numbers, booleans, arrays and plain
// objects as JSON; undefined, null and everything else (nodes, functions...) as null.
Json FromRemoteValue(const Json& remote);

}  // namespace ph::test
