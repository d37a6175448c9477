// The page helper in a world of our own in each frame of a browser tab, reached over the DevTools protocol.
#pragma once

#include <map>

#include "band/cdp/posix/page_tab.h"
#include "band/live/page_channel.h"

namespace ph::cdp {

// Frames are numbered by the execution context of our world in them.
class TabChannel : public live::PageChannel {
 public:
  // The tab must outlive the channel; main_frame is the tab's main frame (see LoadAndSettle).
  TabChannel(PageTab& tab, std::string main_frame);

  live::FrameKey TopFrame() override;
  Json Invoke(live::FrameKey frame, const std::string& operation, Json arguments) override;
  std::optional<live::FrameKey> ChildFrame(live::FrameKey frame, long handle) override;
  bool Wait(Clock::time_point deadline, std::vector<live::FrameReport>* reports) override;

 private:
  // Our world in a frame, with the helper put in it; throws live::PageError.
  live::FrameKey World(const std::string& frame_id);
  void See(const Event& event, std::vector<live::FrameReport>* reports);

  PageTab& tab_;
  std::string main_frame_;
  std::map<std::string, live::FrameKey> worlds_;  // frame id -> our world in it
  bool gone_ = false;
};

}  // namespace ph::cdp
