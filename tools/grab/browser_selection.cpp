// Selection mode in a browser tab: the page loaded, the bar shown, events pumped until the end.
#include "tools/grab/browser_selection.h"

#include <poll.h>
#include <unistd.h>

#include "band/cdp/posix/rendered_page.h"
#include "platform/url.h"
#include "tools/grab/page_loader.h"

namespace ph::grab {
namespace {

using namespace std::chrono_literals;

// Whether a whole line arrived on the terminal; at the end of the input it stops being watched.
bool LineEntered(int fd, bool* watching) {
  pollfd p{fd, POLLIN, 0};
  if (::poll(&p, 1, 0) <= 0) return false;
  char buffer[256];
  const ssize_t n = ::read(fd, buffer, sizeof buffer);
  if (n <= 0) {
    *watching = false;
    return false;
  }
  return std::string_view(buffer, static_cast<std::size_t>(n)).find('\n') != std::string_view::npos;
}

}  // namespace

std::unique_ptr<BrowserSelection> BrowserSelection::Open(BrowserPages& browser, const std::string& page, std::string* error) {
  const std::string url = IsWebUrl(page) || UrlScheme(page) == "file" ? page : FileUrl(page);
  std::unique_ptr<BrowserSelection> selection(new BrowserSelection());
  try {
    selection->tab_ = std::make_unique<cdp::PageTab>(browser.client());
    const std::string frame = cdp::LoadAndSettle(*selection->tab_, url);
    selection->tab_->Call("Page.bringToFront");
    // The window the browser opened with holds an empty tab; only the page is left to look at.
    const cdp::Json targets = browser.client().Call("Target.getTargets").value("targetInfos", cdp::Json::array());
    for (const cdp::Json& target : targets)
      if (target.value("type", "") == "page" && target.value("url", "") == "about:blank" &&
          target.value("targetId", "") != selection->tab_->target())
        browser.client().Call("Target.closeTarget", {{"targetId", target.value("targetId", "")}});
    selection->channel_ = std::make_unique<cdp::TabChannel>(*selection->tab_, frame);
    selection->page_ = std::make_shared<live::LivePage>(*selection->channel_, selection->form_);
    selection->top_ = live::LiveDocument::Top(selection->page_);
    if (!selection->top_) {
      *error = "cannot reach the document of " + url + " in the browser";
      return nullptr;
    }
    selection->events_ = std::make_unique<live::LiveEvents>(*selection->page_);
  } catch (const cdp::DevToolsError& e) {
    browser.EndIfInterrupted();
    *error = e.what();
    return nullptr;
  }
  return selection;
}

BrowserSelection::~BrowserSelection() = default;

live::LiveSelection::State BrowserSelection::Run(SelectionEngine& engine, int input_fd) {
  live::LiveSelection selection(engine, *page_, *events_);
  selection.Begin(false);
  bool watching = input_fd >= 0;
  while (selection.state() == live::LiveSelection::State::kSelecting) {
    selection.Step(cdp::Clock::now() + 100ms);
    if (watching && LineEntered(input_fd, &watching)) selection.Finish();
  }
  return selection.state();
}

}  // namespace ph::grab
