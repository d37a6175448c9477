// A live page over any channel to it: its helpers' operations, its generation, and its reports.
#pragma once

#include <map>
#include <memory>

#include "band/engine/document.h"
#include "band/live/markup_form.h"
#include "band/live/page_channel.h"

namespace ph::live {

class LivePage {
 public:
  // The channel and the form must outlive the page.
  LivePage(PageChannel& channel, MarkupForm& form) : channel_(channel), form_(form) {}

  // The top frame; nothing when the page cannot be reached.
  std::optional<FrameKey> TopFrame();
  // The frame shown by a frame element of a frame; nothing when there is none to reach.
  std::optional<FrameKey> ChildFrame(FrameKey frame, long handle);
  // The helper's operation in a frame; throws PageError. Nothing is asked of a page that is gone.
  // A question asked before in this generation is answered from memory: the engine asks the same
  // of an element many times (its ancestors' ids and classes, its markup for its HTML and its text),
  // and each question to a page through the extension is a round trip between two processes.
  Json Invoke(FrameKey frame, const std::string& operation, Json arguments = Json::array());

  // Everything read of the page holds until the page may have changed: after our own writes and
  // after each wait for the page's reports, during which its scripts run.
  std::uint64_t generation() const { return generation_; }
  void Changed() { ++generation_; }

  // Hands over what the page reported until the deadline (all that has come, once there is any);
  // false when the page is gone.
  bool Pump(Clock::time_point deadline, std::vector<FrameReport>* reports);
  bool gone() const { return gone_; }

  MarkupForm& form() { return form_; }
  // The document object of each frame, one per frame for as long as someone holds it.
  std::map<FrameKey, std::weak_ptr<Document>>& documents() { return documents_; }

 private:
  PageChannel& channel_;
  MarkupForm& form_;
  std::map<FrameKey, std::weak_ptr<Document>> documents_;
  std::map<std::string, Json> answers_;  // of the questions of answered_generation_
  std::uint64_t answered_generation_ = 0;
  std::uint64_t generation_ = 1;
  bool gone_ = false;
};

}  // namespace ph::live
