// Driving one tab through load, settling and taking the markup of every frame.
#include "band/cdp/posix/rendered_page.h"

#include <set>

#include "band/cdp/posix/page_tab.h"

namespace ph::cdp {
namespace {

// Resolves once the document has not changed for `quiet` ms, or after `cap` ms at the latest.
std::string QuietScript(long quiet, long cap) {
  return "new Promise(resolve => {"
         "  let timer; const done = () => { observer.disconnect(); resolve(true); };"
         "  const observer = new MutationObserver(() => { clearTimeout(timer); timer = setTimeout(done, " +
         std::to_string(quiet) +
         "); });"
         "  observer.observe(document, {subtree: true, childList: true, characterData: true, attributes: true});"
         "  timer = setTimeout(done, " + std::to_string(quiet) + "); setTimeout(done, " + std::to_string(cap) + ");"
         "})";
}

// A dialog would stop the page until somebody answers it, and nobody will: each is answered at once
// as if OK was pressed.
constexpr char kAnswerDialogs[] =
    "window.alert = function () {}; window.confirm = function () { return true; };"
    "window.prompt = function (message, value) { return value === undefined ? '' : String(value); };";

constexpr char kCaptureScript[] =
    "(() => { const d = document;"
    "  const type = d.doctype ? new XMLSerializer().serializeToString(d.doctype) : '';"
    "  return {url: d.URL, html: type + (d.documentElement ? d.documentElement.outerHTML : '')}; })()";

long Millis(Clock::duration d) { return static_cast<long>(std::chrono::duration_cast<std::chrono::milliseconds>(d).count()); }

// Requests of the page still under way, from the Network events of its session.
struct NetworkActivity {
  std::set<std::string> open;
  Clock::time_point last = Clock::now();
  int main_status = 0;
  std::string main_request;

  void See(const Event& e) {
    const std::string id = e.params.value("requestId", "");
    if (e.method == "Network.requestWillBeSent") {
      open.insert(id);
    } else if (e.method == "Network.loadingFinished" || e.method == "Network.loadingFailed") {
      open.erase(id);
    } else if (e.method == "Network.responseReceived" && id == main_request) {
      main_status = e.params.value("response", Json::object()).value("status", 0);
    } else {
      return;
    }
    last = Clock::now();
  }
};

// Frame elements in document order, with the documents they hold, from the tree of DOM nodes.
void CollectFrames(const Json& node, int parent, std::vector<std::pair<std::string, RenderedDocument>>* out) {
  const std::string name = node.value("nodeName", "");
  const auto content = node.find("contentDocument");
  if ((name == "IFRAME" || name == "FRAME") && node.contains("frameId") && content != node.end()) {
    RenderedDocument frame;
    frame.parent = parent;
    const Json attributes = node.value("attributes", Json::array());
    for (std::size_t i = 0; i + 1 < attributes.size(); i += 2)
      if (attributes[i] == "src") frame.owner_src = attributes[i + 1].get<std::string>();
    out->emplace_back(node.value("frameId", ""), std::move(frame));
    CollectFrames(*content, static_cast<int>(out->size()) - 1, out);
    return;
  }
  if (const auto children = node.find("children"); children != node.end())
    for (const Json& child : *children) CollectFrames(child, parent, out);
}

}  // namespace

// The markup of one frame, read in a world of our own so that the page's scripts cannot change
// what the serialiser gives.
bool CaptureDocument(PageTab& tab, const std::string& frame_id, RenderedDocument* document) {
  const Json world = tab.Call("Page.createIsolatedWorld", {{"frameId", frame_id}, {"worldName", "grab"}});
  const Json result = tab.Call("Runtime.evaluate", {{"expression", kCaptureScript},
                                                    {"contextId", world.value("executionContextId", 0)},
                                                    {"returnByValue", true}});
  const Json value = result.value("result", Json::object()).value("value", Json());
  if (!value.is_object()) return false;
  document->url = value.value("url", "");
  document->html = value.value("html", "");
  return true;
}


std::string LoadAndSettle(PageTab& tab, const std::string& url, const SettleTimes& times) {
  DevToolsClient& client = tab.client();
  tab.Call("Page.enable");
  tab.Call("Network.enable");
  tab.Call("Page.addScriptToEvaluateOnNewDocument", {{"source", kAnswerDialogs}});
  NetworkActivity network;
  client.DrainEvents([](const Event&) {});

  const Json navigation = tab.Call("Page.navigate", {{"url", url}}, times.load);
  const std::string error = navigation.value("errorText", "");
  if (!error.empty()) throw DevToolsError("cannot load " + url + " (" + error + ")");
  const std::string main_frame = navigation.value("frameId", "");
  network.main_request = navigation.value("loaderId", "");

  const std::string& session = tab.session();
  // A page whose load event does not come in time (a picture that never arrives) is taken as it is.
  client.WaitForEvent([&](const Event& e) {
    if (e.session_id != session) return false;
    network.See(e);
    return e.method == "Page.loadEventFired";
  }, Clock::now() + times.load);
  // The events passed over while waiting have been counted already.
  client.DrainEvents([](const Event&) {});

  const auto cap = Clock::now() + times.settle;
  const Json main_world = tab.Call("Page.createIsolatedWorld", {{"frameId", main_frame}, {"worldName", "grab-settle"}});
  for (;;) {
    const long left = Millis(cap - Clock::now());
    if (left <= 0) break;
    tab.Call("Runtime.evaluate", {{"expression", QuietScript(Millis(times.quiet), left)},
                                   {"contextId", main_world.value("executionContextId", 0)},
                                   {"awaitPromise", true}, {"returnByValue", true}},
             std::chrono::milliseconds(left) + std::chrono::seconds(5));
    client.DrainEvents([&](const Event& e) {
      if (e.session_id == session) network.See(e);
    });
    if (network.open.empty() && Clock::now() - network.last >= times.quiet) break;
  }
  // The server's error page is not the page that was asked for.
  if (network.main_status >= 400) throw DevToolsError("cannot load " + url + " (HTTP " + std::to_string(network.main_status) + ")");
  return main_frame;
}

std::vector<RenderedDocument> RenderPage(DevToolsClient& client, const std::string& url, const SettleTimes& times) {
  PageTab tab(client);
  const std::string main_frame = LoadAndSettle(tab, url, times);

  const Json tree = tab.Call("DOM.getDocument", {{"depth", -1}, {"pierce", true}});
  std::vector<std::pair<std::string, RenderedDocument>> frames;
  frames.emplace_back(main_frame, RenderedDocument{});
  CollectFrames(tree.value("root", Json::object()), 0, &frames);

  std::vector<RenderedDocument> documents;
  std::vector<int> position(frames.size(), -1);  // where each frame landed; frames not read are left out
  for (std::size_t i = 0; i < frames.size(); ++i) {
    RenderedDocument document = frames[i].second;
    if (i > 0 && (document.parent < 0 || position[document.parent] < 0)) continue;
    if (!CaptureDocument(tab, frames[i].first, &document)) {
      if (i == 0) throw DevToolsError("cannot read the markup of " + url);
      continue;
    }
    if (i > 0) document.parent = position[document.parent];
    position[i] = static_cast<int>(documents.size());
    documents.push_back(std::move(document));
  }
  return documents;
}

}  // namespace ph::cdp
