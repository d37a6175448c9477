// A live page's frames, its generation, and its reports.
#include "band/live/live_page.h"

#include <set>

namespace ph::live {

std::optional<FrameKey> LivePage::TopFrame() {
  if (gone_) return std::nullopt;
  try {
    return channel_.TopFrame();
  } catch (const PageError&) {
    return std::nullopt;
  }
}

std::optional<FrameKey> LivePage::ChildFrame(FrameKey frame, long handle) {
  if (gone_) return std::nullopt;
  try {
    return channel_.ChildFrame(frame, handle);
  } catch (const PageError&) {
    // A frame that cannot be reached is left out, as the other bindings leave out what they cannot read.
    return std::nullopt;
  }
}

Json LivePage::Invoke(FrameKey frame, const std::string& operation, Json arguments) {
  if (gone_) throw PageError("the page is gone");
  // The helper's operations that only read; anything else may change what they would answer.
  static const std::set<std::string> kReads = {"body", "url", "title", "frames", "parent", "children", "tags",
                                               "rows", "cells", "outline", "index", "contains", "markup", "text",
                                               "attribute", "rel", "style", "frameId"};
  if (!kReads.count(operation)) {
    Changed();
    return channel_.Invoke(frame, operation, std::move(arguments));
  }
  if (answered_generation_ != generation_) {
    answers_.clear();
    answered_generation_ = generation_;
  }
  std::string key = std::to_string(frame) + ' ' + operation + ' ' + arguments.dump();
  if (const auto known = answers_.find(key); known != answers_.end()) return known->second;
  Json answer = channel_.Invoke(frame, operation, std::move(arguments));
  answers_.emplace(std::move(key), answer);
  return answer;
}

bool LivePage::Pump(Clock::time_point deadline, std::vector<FrameReport>* reports) {
  std::vector<FrameReport> raw;
  if (!gone_ && !channel_.Wait(deadline, &raw)) gone_ = true;
  // The page's own scripts cannot reach the helper's world, but a report that is not an object is
  // dropped all the same.
  for (FrameReport& report : raw)
    if (report.payload.is_object()) reports->push_back(std::move(report));
  // The page's scripts have had time to run.
  Changed();
  return !gone_;
}

}  // namespace ph::live
