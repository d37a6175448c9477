// Page calls over native messages, and the messages that come in between.
#include "band/host/native_channel.h"

namespace ph::host {
using live::TypeOf;

bool NativeChannel::ReadOne() {
  if (gone_) return false;
  Json message;
  std::string error;
  switch (stream_.Read(&message, &error)) {
    case MessageStream::Status::kEnd:
      // A length over the limit ends the stream too; the extension hears why.
      if (!error.empty()) Tell({{"type", "error"}, {"text", error}});
      gone_ = true;
      return false;
    case MessageStream::Status::kBad:
      Tell({{"type", "error"}, {"text", error}});
      return true;
    case MessageStream::Status::kMessage: break;
  }
  const std::string type = TypeOf(message);
  const auto id = message.find("id");
  if (type == "answer" && id != message.end() && id->is_number_integer()) {
    const long key = id->get<long>();
    answers_[key] = std::move(message);
  } else if (type == "report") {
    const auto frame = message.find("frame");
    const auto payload = message.find("payload");
    if (frame == message.end() || !frame->is_number_integer() || payload == message.end() || !payload->is_object()) {
      Tell({{"type", "error"}, {"text", "a report without its frame or payload"}});
    } else {
      const long key = frame->get<long>();
      reports_.push_back(live::FrameReport{key, std::move(*payload)});
    }
  } else if (type == "finish") {
    // The popup or a shortcut ended the selection: as the bar's Finish does.
    reports_.push_back(live::FrameReport{0, {{"type", "finish"}}});
  } else if (type == "gone") {
    gone_ = true;
    return false;
  } else {
    commands_.push_back(std::move(message));
  }
  return true;
}

Json NativeChannel::Await(long id) {
  for (;;) {
    if (const auto answer = answers_.find(id); answer != answers_.end()) {
      Json message = std::move(answer->second);
      answers_.erase(answer);
      return message;
    }
    if (!ReadOne()) throw live::PageError("the page is gone");
  }
}

live::FrameKey NativeChannel::TopFrame() {
  if (gone_) throw live::PageError("the page is gone");
  return 0;
}

Json NativeChannel::Invoke(live::FrameKey frame, const std::string& operation, Json arguments) {
  if (gone_) throw live::PageError("the page is gone");
  const long id = next_id_++;
  if (!Tell({{"type", "call"}, {"id", id}, {"frame", frame}, {"op", operation}, {"args", std::move(arguments)}}))
    throw live::PageError("the page is gone");
  Json answer = Await(id);
  if (const auto error = answer.find("error"); error != answer.end())
    throw live::PageError(operation + ": " + (error->is_string() ? error->get<std::string>() : error->dump()));
  const auto value = answer.find("value");
  return value == answer.end() ? Json() : std::move(*value);
}

std::optional<live::FrameKey> NativeChannel::ChildFrame(live::FrameKey frame, long handle) {
  const Json child = Invoke(frame, "frameId", Json::array({handle}));
  if (!child.is_number_integer() || child.get<long>() < 0) return std::nullopt;
  return child.get<long>();
}

bool NativeChannel::Wait(live::Clock::time_point, std::vector<live::FrameReport>* reports) {
  while (reports_.empty() && commands_.empty())
    if (!ReadOne()) break;
  for (auto& report : reports_) reports->push_back(std::move(report));
  reports_.clear();
  return !gone_;
}

Json NativeChannel::Ask(Json question) {
  const long id = next_id_++;
  question["id"] = id;
  if (!Tell(question)) return Json();
  try {
    Json answer = Await(id);
    const auto value = answer.find("value");
    return value == answer.end() ? Json() : std::move(*value);
  } catch (const live::PageError&) {
    return Json();
  }
}

bool NativeChannel::Tell(const Json& message) {
  if (gone_) return false;
  if (!stream_.Write(message)) gone_ = true;
  return !gone_;
}

std::optional<Json> NativeChannel::NextCommand() {
  while (commands_.empty())
    if (!ReadOne()) return std::nullopt;
  Json command = std::move(commands_.front());
  commands_.pop_front();
  return command;
}

}  // namespace ph::host
