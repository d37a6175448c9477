// The browser's side of native messaging in one process: the extension's messages queued by a test,
// the host's calls answered at once by a page helper double.
#pragma once

#include <cstring>
#include <deque>
#include <functional>

#include "band/host/message_stream.h"
#include "tests/band/host/page_helper_double.h"

namespace ph::test {

class ScriptedBrowser : public host::ByteStream {
 public:
  using Json = live::Json;

  explicit ScriptedBrowser(PageHelperDouble& page) : page_(page) {}

  // A message to the host, after those queued before (and after the answers already due).
  void Send(const Json& message) { Frame(message.dump()); }
  void Report(long frame, Json payload) { Send({{"type", "report"}, {"frame", frame}, {"payload", std::move(payload)}}); }
  // A mouse report over an element of the top document.
  Json Mouse(const char* type, const ElementPtr& element, bool shift = false, bool ctrl = false, bool alt = false) {
    return {{"type", type}, {"target", page_.Pair(0, element)}, {"button", 0}, {"shift", shift}, {"ctrl", ctrl}, {"alt", alt}};
  }
  // Answers the save panel's questions (null: Cancel).
  std::function<Json(const Json& question)> answer_ask = [](const Json&) { return Json(); };

  // Everything the host sent that was not a page call, in order.
  const std::vector<Json>& told() const { return told_; }
  std::vector<Json> Told(const std::string& type) const {
    std::vector<Json> out;
    for (const Json& m : told_)
      if (m.value("type", "") == type) out.push_back(m);
    return out;
  }

  // The host's end of the stream: when the queue runs dry, the browser has closed the port.
  bool ReadExactly(char* data, std::size_t size) override {
    if (inbound_.size() < size) return false;
    for (std::size_t i = 0; i < size; ++i) data[i] = inbound_[i];
    inbound_.erase(inbound_.begin(), inbound_.begin() + static_cast<std::ptrdiff_t>(size));
    return true;
  }
  bool WriteAll(const char* data, std::size_t size) override {
    outbound_.append(data, size);
    while (outbound_.size() >= 4) {
      std::uint32_t length = 0;
      std::memcpy(&length, outbound_.data(), 4);
      if (outbound_.size() < 4 + length) break;
      Take(Json::parse(outbound_.substr(4, length)));
      outbound_.erase(0, 4 + length);
    }
    return true;
  }

 private:
  void Frame(const std::string& text) {
    const auto length = static_cast<std::uint32_t>(text.size());
    char header[4];
    std::memcpy(header, &length, 4);
    inbound_.insert(inbound_.end(), header, header + 4);
    inbound_.insert(inbound_.end(), text.begin(), text.end());
  }
  // An answer comes before whatever the user does next.
  void AnswerFirst(const Json& answer) {
    std::deque<char> rest(inbound_.begin(), inbound_.end());
    inbound_.clear();
    Frame(answer.dump());
    inbound_.insert(inbound_.end(), rest.begin(), rest.end());
  }
  void Take(const Json& message) {
    const std::string type = message.value("type", "");
    if (type == "call") {
      AnswerFirst(page_.Answer(message));
    } else if (type == "ask") {
      told_.push_back(message);
      AnswerFirst({{"type", "answer"}, {"id", message["id"]}, {"value", answer_ask(message)}});
    } else {
      told_.push_back(message);
    }
  }

  PageHelperDouble& page_;
  std::deque<char> inbound_;
  std::string outbound_;
  std::vector<Json> told_;
};

}  // namespace ph::test
