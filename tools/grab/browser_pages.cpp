// Starting the browser for grab, ending it on a signal, and turning rendered markup into documents.
#include "tools/grab/browser_pages.h"

#include <cstdlib>

#include "common/utf8.h"
#include "tools/grab/interruption.h"

namespace ph::grab {
std::unique_ptr<BrowserPages> BrowserPages::Start(std::string* error, bool headless, std::size_t tabs) {
  const char* named = std::getenv("PAGEHARVEST_CHROMIUM");
  cdp::ChromiumOptions options;
  options.headless = headless;
  if (named && *named) options.program = named;
  options.stop = InterruptionFlag();
  if (cdp::FindProgram(options.program).empty()) {
    *error = "--browser and select need Chromium, and '" + options.program +
             "' is not installed (install Debian's chromium package, or name the browser program in "
             "PAGEHARVEST_CHROMIUM)";
    return nullptr;
  }
  auto browser = cdp::ChromiumProcess::Start(options, error);
  if (!browser) {
    *error = "the browser did not start: " + *error;
    return nullptr;
  }
  return std::unique_ptr<BrowserPages>(new BrowserPages(std::move(browser), tabs));
}

BrowserPages::~BrowserPages() { End(); }

void BrowserPages::End() {
  pages_.reset();
  browser_->Stop();
}

void BrowserPages::EndIfInterrupted() {
  if (Interruption()) End();
}

cdp::TabPool::Ticket BrowserPages::Ask(const std::string& url) { return pages_ ? pages_->Ask(url) : 0; }

std::shared_ptr<MemoryDocument> BrowserPages::Take(cdp::TabPool::Ticket page, const std::string& url, std::string* error) {
  if (!pages_) {
    *error = "cannot load " + url + " (the browser has been ended)";
    return nullptr;
  }
  try {
    return DocumentFromRendered(pages_->Take(page));
  } catch (const cdp::DevToolsError& e) {
    EndIfInterrupted();
    *error = e.what();
  } catch (const std::exception& e) {
    *error = std::string("the browser's answer for ") + url + " cannot be read: " + e.what();
  }
  return nullptr;
}

std::shared_ptr<MemoryDocument> DocumentFromRendered(const std::vector<cdp::RenderedDocument>& documents) {
  if (documents.empty()) return nullptr;
  std::vector<bool> used(documents.size(), false);
  // Frame elements ask for their documents by src and by the URL of the document around them; the
  // first rendered frame not yet handed out that fits is theirs, so equal frames keep their order.
  FrameSource frames = [&](const WideString& src, const WideString& base_url) -> std::optional<FramePage> {
    const std::string wanted_src = Utf16ToUtf8(src), parent_url = Utf16ToUtf8(base_url);
    for (std::size_t i = 1; i < documents.size(); ++i) {
      const cdp::RenderedDocument& d = documents[i];
      if (used[i] || d.owner_src != wanted_src || documents[static_cast<std::size_t>(d.parent)].url != parent_url) continue;
      used[i] = true;
      return FramePage{Utf8ToUtf16(d.url), d.html};
    }
    return std::nullopt;
  };
  return MemoryDocument::Parse(documents[0].html, Utf8ToUtf16(documents[0].url), frames);
}

}  // namespace ph::grab
