// The live page reached through the extension: page calls and reports carried as native messages.
#pragma once

#include <deque>
#include <map>

#include "band/host/message_stream.h"

namespace ph::host {

// One tab's frames, numbered by the extension's frame ids (0: the top document). Calls are answered
// one at a time; what the extension sends meanwhile waits its turn.
class NativeChannel : public live::PageChannel {
 public:
  explicit NativeChannel(MessageStream& stream) : stream_(stream) {}

  live::FrameKey TopFrame() override;
  Json Invoke(live::FrameKey frame, const std::string& operation, Json arguments) override;
  std::optional<live::FrameKey> ChildFrame(live::FrameKey frame, long handle) override;
  // Blocks until the extension sends something: the deadline is the extension's to keep.
  bool Wait(live::Clock::time_point deadline, std::vector<live::FrameReport>* reports) override;

  // Asks the user through the extension (the message gets an id); the answer's value, null when
  // the user cancelled or the extension is gone.
  Json Ask(Json question);
  // Tells the extension something that needs no answer; false when it is gone.
  bool Tell(const Json& message);
  // The next message that is neither an answer nor a report; nothing when the extension is gone.
  std::optional<Json> NextCommand();
  bool gone() const { return gone_; }

 private:
  // Reads one message into the queues; false when the extension is gone.
  bool ReadOne();
  Json Await(long id);

  MessageStream& stream_;
  long next_id_ = 1;
  std::map<long, Json> answers_;
  std::deque<live::FrameReport> reports_;
  std::deque<Json> commands_;
  bool gone_ = false;
};

}  // namespace ph::host
