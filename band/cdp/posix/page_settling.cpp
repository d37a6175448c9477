// Telling when a page has settled from its load event, its requests and the changes to its documents.
#include "band/cdp/posix/page_settling.h"

#include <algorithm>

namespace ph::cdp {
namespace {

constexpr char kWorldName[] = "grab-settle";
constexpr char kBinding[] = "grabSettled";

// A dialog would stop the page until somebody answers it, and nobody will: each is answered at once
// as if OK was pressed.
constexpr char kAnswerDialogs[] =
    "window.alert = function () {}; window.confirm = function () { return true; };"
    "window.prompt = function (message, value) { return value === undefined ? '' : String(value); };";

// Runs in every document of the tab, in our world: the page's scripts can neither see nor stop it.
// Changes are told at most every 20 ms, so that a page that never stops moving does not flood the
// pipe. The top document also tells when it has been quiet for the spell by its own timers: a page
// short of processor time runs late, and its own timers set before ours (a script's a little after
// the load event) still come first.
std::string WatchChanges(const SettleTimes& times) {
  return "(() => { if (!globalThis.grabSettled) return;"
         "  const top = window === window.top; let told = false, timer = 0;"
         "  const arm = () => { if (!top) return; clearTimeout(timer);"
         "    timer = setTimeout(() => globalThis.grabSettled('quiet'), " +
         std::to_string(std::chrono::duration_cast<std::chrono::milliseconds>(times.quiet).count()) + "); };"
         "  new MutationObserver(() => { arm(); if (told) return; told = true;"
         "    setTimeout(() => { told = false; globalThis.grabSettled(top ? 'change' : 'frame'); }, 20); })"
         "    .observe(document, {subtree: true, childList: true, characterData: true, attributes: true});"
         "  if (top) { addEventListener('load', arm);"
         "    try { new PerformanceObserver(arm).observe({type: 'resource'}); } catch (e) {} } })()";
}

}  // namespace

void PrepareTab(PageTab& tab, const SettleTimes& times) {
  tab.Call("Page.enable");
  // Only the events are wanted: bodies kept for DevTools to show would grow with every page.
  tab.Call("Network.enable", {{"maxTotalBufferSize", 0}, {"maxResourceBufferSize", 0}});
  tab.Call("Inspector.enable");
  tab.Call("Runtime.enable");
  const std::string world = kWorldName + tab.session();
  tab.Call("Runtime.addBinding", {{"name", kBinding}, {"executionContextName", world}});
  tab.Call("Page.addScriptToEvaluateOnNewDocument", {{"source", kAnswerDialogs}});
  tab.Call("Page.addScriptToEvaluateOnNewDocument", {{"source", WatchChanges(times)}, {"worldName", world}});
}

PageSettling::PageSettling(std::string session, const SettleTimes& times)
    : session_(std::move(session)), times_(times), asked_(Clock::now()), last_(asked_), last_frame_(asked_) {}

void PageSettling::Navigated(const Json& reply) {
  navigated_ = true;
  error_ = reply.value("errorText", "");
  main_frame_ = reply.value("frameId", "");
  main_request_ = reply.value("loaderId", "");
  // A move within the same document loads nothing.
  if (main_request_.empty()) loaded_ = Clock::now();
}

void PageSettling::See(const Event& e) {
  if (e.session_id != session_) {
    if (e.method == "Target.detachedFromTarget" && e.params.value("sessionId", "") == session_) error_ = "the tab was closed";
    return;
  }
  const std::string id = e.params.value("requestId", "");
  if (e.method == "Inspector.targetCrashed") {
    error_ = "the tab crashed";
  } else if (e.method == "Page.frameNavigated" && !e.params.value("frame", Json::object()).contains("parentId")) {
    committed_ = true;
  } else if (e.method == "Page.loadEventFired") {
    // Before the new document is in, the event is the page before's.
    if (committed_ && !loaded_) loaded_ = Clock::now();
  } else if (e.method == "Network.requestWillBeSent") {
    open_.insert(id);
    last_ = Clock::now();
    quiet_ = false;
  } else if (e.method == "Network.loadingFinished" || e.method == "Network.loadingFailed") {
    open_.erase(id);
    last_ = Clock::now();
    quiet_ = false;
  } else if (e.method == "Network.responseReceived" && e.params.value("type", "") == "Document") {
    status_[id] = e.params.value("response", Json::object()).value("status", 0);
  } else if (e.method == "Runtime.bindingCalled" && e.params.value("name", "") == kBinding) {
    const std::string what = e.params.value("payload", "");
    if (what == "frame") {
      last_frame_ = Clock::now();
    } else {
      quiet_ = what == "quiet";
      if (!quiet_) last_ = Clock::now();
    }
  }
}

std::optional<Clock::time_point> PageSettling::LoadedAt() const {
  if (loaded_) return loaded_;
  // A page whose load event does not come in time (a picture that never arrives) is taken as it is.
  if (navigated_ && Clock::now() >= asked_ + times_.load) return asked_ + times_.load;
  return std::nullopt;
}

bool PageSettling::Done() const {
  if (!error_.empty()) return true;
  const auto now = Clock::now();
  if (!navigated_) return now >= asked_ + times_.load;
  const auto loaded = LoadedAt();
  if (!loaded) return false;
  if (now >= *loaded + times_.settle) return true;
  // The top document's word that it is quiet, or a quiet spell long enough by our own clock.
  return open_.empty() && now >= last_frame_ + times_.quiet &&
         (quiet_ || now >= std::max(last_, *loaded) + times_.longest_quiet);
}

Clock::time_point PageSettling::NextLook() const {
  const auto loaded = LoadedAt();
  if (!loaded) return asked_ + times_.load;
  return std::min(*loaded + times_.settle,
                  std::max(last_frame_ + times_.quiet, std::max(last_, *loaded) + times_.longest_quiet));
}

std::string PageSettling::Failure(const std::string& url) const {
  if (!error_.empty()) return "cannot load " + url + " (" + error_ + ")";
  if (!navigated_) return "cannot load " + url + " (the browser did not start loading it in time)";
  // The server's error page is not the page that was asked for.
  const auto status = status_.find(main_request_);
  if (status != status_.end() && status->second >= 400)
    return "cannot load " + url + " (HTTP " + std::to_string(status->second) + ")";
  return {};
}

}  // namespace ph::cdp
