// Running several tabs' loads at once over one DevTools pipe, each to its settling, then taking its markup.
#include "band/cdp/posix/tab_pool.h"

#include <algorithm>
#include <utility>

namespace ph::cdp {

TabPool::TabPool(DevToolsClient& client, std::size_t tabs, const SettleTimes& times)
    : client_(client), most_tabs_(std::max<std::size_t>(tabs, 1)), times_(times) {}

// The tabs close themselves.
TabPool::~TabPool() = default;

TabPool::Ticket TabPool::Ask(const std::string& url) {
  const Ticket ticket = next_++;
  urls_[ticket] = url;
  queue_.push_back(ticket);
  return ticket;
}

std::vector<RenderedDocument> TabPool::Take(Ticket ticket) {
  for (;;) {
    if (const auto found = done_.find(ticket); found != done_.end()) {
      Result result = std::move(found->second);
      done_.erase(found);
      urls_.erase(ticket);
      if (!result.error.empty()) throw DevToolsError(result.error);
      return std::move(result.documents);
    }
    if (!urls_.count(ticket)) throw DevToolsError("no such page was asked for");
    StartQueued();
    Step();
  }
}

void TabPool::StartQueued() {
  while (!queue_.empty()) {
    auto free = std::find_if(tabs_.begin(), tabs_.end(), [](const Tab& t) { return !t.page; });
    if (free == tabs_.end()) {
      if (tabs_.size() >= most_tabs_) return;
      tabs_.emplace_back();
      free = tabs_.end() - 1;
      // Tabs opened together would be renewed together, every renderer starting again at once.
      free->pages_shown = static_cast<int>(tabs_.size() - 1) * kPagesPerTab / static_cast<int>(most_tabs_);
    }
    if (!free->tab) Renew(*free);
    // Events of the page before that are still queued must not count for this one.
    client_.DrainEvents([&](const Event& e) {
      for (Tab& t : tabs_)
        if (t.settling) t.settling->See(e);
    });
    auto settling = std::make_unique<PageSettling>(free->tab->session(), times_);
    free->navigation = client_.Send("Page.navigate", {{"url", urls_[queue_.front()]}}, free->tab->session());
    free->settling = std::move(settling);
    free->page = queue_.front();
    queue_.pop_front();
  }
}

void TabPool::Step() {
  Clock::time_point look = Clock::time_point::max();
  for (const Tab& t : tabs_)
    if (t.page) look = std::min(look, t.settling->NextLook());
  client_.Pump(look);
  client_.DrainEvents([&](const Event& e) {
    for (Tab& t : tabs_)
      if (t.page) t.settling->See(e);
  });
  for (Tab& t : tabs_) {
    if (!t.page) continue;
    if (t.navigation) {
      try {
        if (auto reply = client_.TakeReply(t.navigation)) {
          t.navigation = 0;
          t.settling->Navigated(*reply);
        }
      } catch (const DevToolsError& e) {
        t.navigation = 0;
        t.settling->Navigated(Json{{"errorText", e.what()}});
      }
    }
    if (t.settling->Done()) Finish(t);
  }
}

void TabPool::Finish(Tab& tab) {
  const Ticket ticket = *std::exchange(tab.page, std::nullopt);
  const std::string& url = urls_[ticket];
  Result& result = done_[ticket];
  result.error = tab.settling->Failure(url);
  bool renew = !result.error.empty();
  if (result.error.empty()) {
    try {
      result.documents = CaptureDocuments(*tab.tab, tab.settling->main_frame(), url);
    } catch (const DevToolsError& e) {
      result.error = e.what();
      renew = true;
    } catch (const std::exception& e) {
      result.error = "the browser's answer for " + url + " cannot be read: " + e.what();
      renew = true;
    }
  }
  tab.settling.reset();
  tab.navigation = 0;
  // A tab that failed may be crashed, closed or stuck: the next page gets a fresh one. So does a
  // tab that has shown many pages: its renderer keeps a little of each, given back only when the
  // tab closes.
  if (renew || ++tab.pages_shown >= kPagesPerTab) {
    tab.pages_shown = 0;
    Renew(tab);
  }
}

void TabPool::Renew(Tab& tab) {
  // Left without a tab when the browser cannot open and prepare one; the next page tries again.
  tab.tab.reset();
  auto fresh = std::make_unique<PageTab>(client_);
  PrepareTab(*fresh, times_);
  tab.tab = std::move(fresh);
}

}  // namespace ph::cdp
