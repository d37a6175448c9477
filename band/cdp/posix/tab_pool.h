// Pages loaded side by side in a few tabs of one browser, each tab reused for page after page, and
// handed over in whatever order they are taken.
#pragma once

#include <deque>
#include <map>
#include <memory>

#include "band/cdp/posix/page_settling.h"
#include "band/cdp/posix/rendered_page.h"

namespace ph::cdp {

class TabPool {
 public:
  using Ticket = std::size_t;

  // At most `tabs` tabs, opened as pages need them and closed with the pool.
  TabPool(DevToolsClient& client, std::size_t tabs, const SettleTimes& times = {});
  ~TabPool();
  TabPool(const TabPool&) = delete;
  TabPool& operator=(const TabPool&) = delete;

  // Queues the page; it starts loading as soon as a tab is free, while others are taken.
  Ticket Ask(const std::string& url);
  // Waits for the asked page to settle and returns its documents (see CaptureDocuments). Throws
  // DevToolsError when it cannot be had: that page alone fails, unless the browser itself is gone.
  std::vector<RenderedDocument> Take(Ticket ticket);

 private:
  struct Tab {
    std::unique_ptr<PageTab> tab;
    std::optional<Ticket> page;
    std::unique_ptr<PageSettling> settling;
    long navigation = 0;  // the id of Page.navigate until its reply is in
    int pages_shown = 0;
  };
  static constexpr int kPagesPerTab = 50;
  struct Result {
    std::vector<RenderedDocument> documents;
    std::string error;
  };

  // Starts queued pages in free tabs.
  void StartQueued();
  // Reads what the browser says until some tab may have news, and finishes the pages that are done.
  void Step();
  void Finish(Tab& tab);
  // A crashed or closed tab is replaced by a new one, so that the pages after it have a tab.
  void Renew(Tab& tab);

  DevToolsClient& client_;
  std::size_t most_tabs_;
  SettleTimes times_;
  std::vector<Tab> tabs_;
  std::map<Ticket, std::string> urls_;
  std::deque<Ticket> queue_;
  std::map<Ticket, Result> done_;
  Ticket next_ = 0;
};

}  // namespace ph::cdp
