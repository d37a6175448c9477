// How the frames of a live page are reached: the page helper's operations in each frame, and what the page reports.
#pragma once

#include <chrono>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

namespace ph::live {

using Json = nlohmann::json;
using Clock = std::chrono::steady_clock;

// The page cannot answer: it is gone, it navigated away, or the helper's operation failed there.
class PageError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The "type" of a message or a report; empty when it has none (or one that is not a text).
inline std::string TypeOf(const Json& message) {
  const auto type = message.find("type");
  return type != message.end() && type->is_string() ? type->get<std::string>() : std::string();
}

// A frame of the page as its channel numbers it.
using FrameKey = long;

// What the helper of a frame reported: a hover, a click, the pointer leaving, the bar's buttons.
struct FrameReport {
  FrameKey frame;
  Json payload;
};

// One transport to the helpers of one page: the DevTools protocol (grab's own browser), or native
// messaging through the extension (the user's browser). Everything above it is shared.
class PageChannel {
 public:
  virtual ~PageChannel() = default;
  // The page's top document; throws PageError when it cannot be reached.
  virtual FrameKey TopFrame() = 0;
  // The helper's operation in a frame with its arguments, and its answer; throws PageError.
  virtual Json Invoke(FrameKey frame, const std::string& operation, Json arguments) = 0;
  // The frame shown by a frame element of a frame (by the element's handle); nothing when it holds
  // none that can be reached. Throws PageError when the page is gone.
  virtual std::optional<FrameKey> ChildFrame(FrameKey frame, long handle) = 0;
  // Waits until the deadline for what the page reports, handing over all that has come (the wait
  // ends with the first); false when the page is gone (closed, navigated away, the browser ended).
  virtual bool Wait(Clock::time_point deadline, std::vector<FrameReport>* reports) = 0;
};

}  // namespace ph::live
