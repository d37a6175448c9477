// Pages as a headless Chromium renders them, for grab --browser: one browser serves the whole run.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "band/cdp/posix/chromium_process.h"
#include "band/cdp/posix/tab_pool.h"
#include "band/memdoc/memory_document.h"

namespace ph::grab {

class BrowserPages {
 public:
  // Starts the browser named by PAGEHARVEST_CHROMIUM (default "chromium"), headless or with its
  // windows shown; null with a message for the user in *error when there is none or it does not
  // start. Every wait for it ends when Ctrl-C or SIGTERM is noted (see CatchInterruptions).
  // Up to `tabs` pages load at once.
  static std::unique_ptr<BrowserPages> Start(std::string* error, bool headless = true, std::size_t tabs = 1);
  ~BrowserPages();
  BrowserPages(const BrowserPages&) = delete;
  BrowserPages& operator=(const BrowserPages&) = delete;

  // Starts loading the page at url as soon as a tab is free; pages asked for are taken in any order.
  cdp::TabPool::Ticket Ask(const std::string& url);
  // The asked page as rendered, with its frames; null with the reason in *error.
  std::shared_ptr<MemoryDocument> Take(cdp::TabPool::Ticket page, const std::string& url, std::string* error);

  cdp::DevToolsClient& client() { return browser_->client(); }
  // After a signal: the browser is ended, before grab ends as the signal asks.
  void EndIfInterrupted();

 private:
  BrowserPages(std::unique_ptr<cdp::ChromiumProcess> browser, std::size_t tabs)
      : browser_(std::move(browser)), pages_(std::make_unique<cdp::TabPool>(browser_->client(), tabs)) {}
  // Closes the tabs, then the browser.
  void End();

  std::unique_ptr<cdp::ChromiumProcess> browser_;
  std::unique_ptr<cdp::TabPool> pages_;  // none once the browser is ended
};

// The in-memory document of a rendered page: the top document, and each frame's document in the
// frame element it belongs to.
std::shared_ptr<MemoryDocument> DocumentFromRendered(const std::vector<cdp::RenderedDocument>& documents);

}  // namespace ph::grab
