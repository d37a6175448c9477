// Driving one tab through load, settling and taking the markup of every frame.
#include "band/cdp/posix/rendered_page.h"

#include "band/cdp/posix/page_tab.h"

namespace ph::cdp {
namespace {

constexpr char kCaptureScript[] =
    "(() => { const d = document;"
    "  const type = d.doctype ? new XMLSerializer().serializeToString(d.doctype) : '';"
    "  return {url: d.URL, html: type + (d.documentElement ? d.documentElement.outerHTML : '')}; })()";

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
  PrepareTab(tab, times);
  DevToolsClient& client = tab.client();
  client.DrainEvents([](const Event&) {});
  PageSettling settling(tab.session(), times);
  settling.Navigated(tab.Call("Page.navigate", {{"url", url}}, times.load));
  while (!settling.Done()) {
    client.WaitForEvent([&](const Event& e) {
      settling.See(e);
      return true;
    }, settling.NextLook());
  }
  if (const std::string failure = settling.Failure(url); !failure.empty()) throw DevToolsError(failure);
  return settling.main_frame();
}

std::vector<RenderedDocument> CaptureDocuments(PageTab& tab, const std::string& main_frame, const std::string& url) {
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
