// The live documents of one browser tab as the selection engine works on them: a helper script in a
// world of our own in each frame, element handles that it hands out, and the page's mouse events.
#pragma once

#include <map>
#include <memory>

#include "band/cdp/page_tab.h"

namespace ph::cdp {

class LiveDocument;

// What the page reported through the helper's binding: a hover, a click, or the bar's finish button.
struct PageReport {
  std::shared_ptr<LiveDocument> document;  // the frame it came from
  Json payload;
};

class LivePage : public std::enable_shared_from_this<LivePage> {
 public:
  // The tab must outlive the page; main_frame is the tab's main frame (see LoadAndSettle).
  static std::shared_ptr<LivePage> Attach(PageTab& tab, const std::string& main_frame);

  std::shared_ptr<LiveDocument> Top();
  // The document of a frame, one object per frame; null when the frame cannot be reached.
  std::shared_ptr<LiveDocument> FrameDocument(const std::string& frame_id);

  // Calls the helper's operation in a frame's world with the arguments and returns its answer.
  // Throws DevToolsError when the browser refuses or the page is gone.
  Json Invoke(int context, const char* operation, Json arguments = Json::array());
  // The frame that holds the element behind a handle of a context (a frame element's content).
  std::string FrameOfElement(int context, long handle);

  // Everything read of the page holds until the page may have changed: after our own writes and
  // after each wait for the page's events, during which its scripts run.
  std::uint64_t generation() const { return generation_; }
  void Changed() { ++generation_; }

  // Hands over what the page reported until the deadline (all that is queued when there is any);
  // false when the tab is gone (closed by the user, or the browser ended).
  bool Pump(Clock::time_point deadline, std::vector<PageReport>* reports);
  bool gone() const { return gone_; }

  // Shows the bar at the top of the page with a text and a button that reports "finish"; the bar is
  // left out of everything the documents report.
  void ShowBar(const std::string& text);

 private:
  LivePage(PageTab& tab, std::string main_frame) : tab_(tab), main_frame_(std::move(main_frame)) {}
  void See(const Event& event, std::vector<PageReport>* reports);

  PageTab& tab_;
  std::string main_frame_;
  std::map<std::string, int> contexts_;                         // frame id -> our world in it
  std::map<int, std::weak_ptr<LiveDocument>> documents_;        // world -> its document
  std::uint64_t generation_ = 1;
  bool gone_ = false;
};

}  // namespace ph::cdp
