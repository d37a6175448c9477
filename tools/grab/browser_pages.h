// Pages as a headless Chromium renders them, for grab --browser: one browser serves the whole run.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "band/cdp/posix/chromium_process.h"
#include "band/cdp/posix/rendered_page.h"
#include "band/memdoc/memory_document.h"

namespace ph::grab {

class BrowserPages {
 public:
  // Starts the browser named by PAGEHARVEST_CHROMIUM (default "chromium"), headless or with its
  // windows shown; null with a message for the user in *error when there is none or it does not
  // start. Every wait for it ends when Ctrl-C or SIGTERM is noted (see CatchInterruptions).
  static std::unique_ptr<BrowserPages> Start(std::string* error, bool headless = true);
  ~BrowserPages();
  BrowserPages(const BrowserPages&) = delete;
  BrowserPages& operator=(const BrowserPages&) = delete;

  // The page at url as rendered, with its frames; null with the reason in *error.
  std::shared_ptr<MemoryDocument> Load(const std::string& url, std::string* error);

  cdp::DevToolsClient& client() { return browser_->client(); }
  // After a signal: the browser is ended, before grab ends as the signal asks.
  void EndIfInterrupted();

 private:
  explicit BrowserPages(std::unique_ptr<cdp::ChromiumProcess> browser) : browser_(std::move(browser)) {}

  std::unique_ptr<cdp::ChromiumProcess> browser_;
};

// The in-memory document of a rendered page: the top document, and each frame's document in the
// frame element it belongs to.
std::shared_ptr<MemoryDocument> DocumentFromRendered(const std::vector<cdp::RenderedDocument>& documents);

}  // namespace ph::grab
