// When a page loading in a tab has settled: its load event has come, no request is under way and its
// documents have stopped changing for a short spell, as the page itself counts it.
#pragma once

#include <map>
#include <optional>
#include <set>

#include "band/cdp/posix/page_tab.h"

namespace ph::cdp {

struct SettleTimes {
  Clock::duration load = std::chrono::seconds(20);  // for the load event
  // No request and no change for this long by the page's own timers; by our clock alone, which does
  // not see a page kept waiting for the processor, for longest_quiet.
  Clock::duration quiet = std::chrono::milliseconds(150);
  Clock::duration longest_quiet = std::chrono::milliseconds(300);
  Clock::duration settle = std::chrono::seconds(3);  // at most this long after the load event
};

// Makes the tab tell what settling needs, once for its life: its page and network events, each change
// of its documents (from an observer in a world of our own), and its dialogs answered at once.
void PrepareTab(PageTab& tab, const SettleTimes& times);

// One page's way from Page.navigate to settled, fed the tab's events as they come.
class PageSettling {
 public:
  // The navigation was asked for just now.
  PageSettling(std::string session, const SettleTimes& times);

  // The reply to Page.navigate.
  void Navigated(const Json& reply);
  // An event of the browser; only those of this tab count.
  void See(const Event& event);
  // Settled, failed, or out of time.
  bool Done() const;
  // When Done may turn true without another event.
  Clock::time_point NextLook() const;
  // Why the page cannot be had, once Done; empty when it can.
  std::string Failure(const std::string& url) const;
  const std::string& main_frame() const { return main_frame_; }

 private:
  std::optional<Clock::time_point> LoadedAt() const;

  std::string session_;
  SettleTimes times_;
  Clock::time_point asked_;
  bool navigated_ = false;
  bool committed_ = false;  // the new document is in the main frame
  bool quiet_ = false;      // the top document said it is quiet, and nothing happened since
  std::string error_, main_frame_, main_request_;
  std::optional<Clock::time_point> loaded_;
  Clock::time_point last_;             // the last request or change of the top document seen
  Clock::time_point last_frame_;       // the last change inside a frame seen
  std::set<std::string> open_;        // requests under way
  std::map<std::string, int> status_;  // HTTP status of each document's response, by request
};

}  // namespace ph::cdp
