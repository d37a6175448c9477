// The rig in Chromium: the extension loaded unpacked, the host's manifest in the profile, and the
// service worker and the page spoken to over the DevTools protocol.
#include <filesystem>

#include "band/cdp/posix/chromium_process.h"
#include "tests/extension/extension_rig.h"
#include "tests/support/test_paths.h"

namespace ph::test {
namespace {

constexpr char kExtensionOrigin[] = "chrome-extension://alkfoobnckhimlcamnljecggfgppgdog/";

// Every text node's value under a DOM.getDocument node, shadow roots and frame documents included.
bool AnyText(const Json& node, const std::string& text) {
  if (node.value("nodeValue", "").find(text) != std::string::npos) return true;
  for (const char* key : {"children", "shadowRoots"})
    for (const Json& child : node.value(key, Json::array()))
      if (AnyText(child, text)) return true;
  return node.contains("contentDocument") && AnyText(node["contentDocument"], text);
}

class ChromiumRig : public ExtensionRig {
 public:
  explicit ChromiumRig(const std::string& host_line);
  ~ChromiumRig() override {
    if (browser_) browser_->Stop();
  }

  WorkerAnswer Worker(const std::string& expression, Clock::duration timeout = std::chrono::seconds(30)) override;
  long OpenTab(const std::string& url) override;
  Json Page(const std::string& expression) override;
  void Hover(const std::string& point_expression) override;
  void Click(int modifiers) override;
  void Key(const std::string& key, const std::string& code, int key_code) override;
  void Type(const std::string& text) override;
  bool PageShows(const std::string& text) override;

 private:
  void Idle() override { client().DrainEvents([](const cdp::Event&) {}); }
  cdp::DevToolsClient& client() { return browser_->client(); }

  std::unique_ptr<cdp::ChromiumProcess> browser_;
  std::string worker_;  // the service worker's session
  std::string page_;    // the open tab's session
  double x_ = 0, y_ = 0;
};

ChromiumRig::ChromiumRig(const std::string& host_line) : ExtensionRig(host_line) {
  cdp::ChromiumOptions options;
  options.extensions = {SourceDir() + "/extension"};
  options.prepare_profile = [&](const std::string& profile) {
    std::filesystem::create_directories(profile + "/NativeMessagingHosts");
    const Json manifest = {{"name", "org.pageharvest.host"}, {"description", "PageHarvest (test)"},
                           {"path", launcher()}, {"type", "stdio"}, {"allowed_origins", {kExtensionOrigin}}};
    WriteWholeFile(profile + "/NativeMessagingHosts/org.pageharvest.host.json", manifest.dump());
  };
  browser_ = cdp::ChromiumProcess::Start(options, &error_);
  if (!browser_) return;

  // The extension's service worker comes up a moment after the browser.
  std::string target;
  WaitUntil([&] {
    for (const Json& info : client().Call("Target.getTargets").value("targetInfos", Json::array()))
      if (info.value("type", "") == "service_worker" && info.value("url", "").rfind(kExtensionOrigin, 0) == 0)
        target = info.value("targetId", "");
    return !target.empty();
  });
  if (target.empty()) {
    error_ = "the extension's service worker did not start";
    return;
  }
  worker_ = client().Call("Target.attachToTarget", {{"targetId", target}, {"flatten", true}}).value("sessionId", "");
  // Without the runtime enabled a worker's evaluations may wait for ever.
  client().Call("Runtime.enable", Json::object(), worker_);
  if (!WaitUntil([&] { return Worker("typeof pageHarvest").value == "object"; }))
    error_ = "the service worker has no pageHarvest";
}

WorkerAnswer ChromiumRig::Worker(const std::string& expression, Clock::duration timeout) {
  const Json result = client().Call("Runtime.evaluate",
                                    {{"expression", expression}, {"awaitPromise", true}, {"returnByValue", true}},
                                    worker_, timeout);
  if (const auto thrown = result.find("exceptionDetails"); thrown != result.end()) {
    const std::string text = thrown->value("exception", Json::object()).value("description", thrown->value("text", "?"));
    return {Json(), text.empty() ? "?" : text};
  }
  return {result.value("result", Json::object()).value("value", Json()), ""};
}

long ChromiumRig::OpenTab(const std::string& url) {
  const Json tab = Worker("chrome.tabs.create({url: " + Json(url).dump() + "}).then(t => t.id)").value;
  if (!tab.is_number_integer()) return -1;
  const std::string id = std::to_string(tab.get<long>());
  if (!WaitUntil([&] { return Worker("chrome.tabs.get(" + id + ").then(t => t.status)").value == "complete"; }))
    return -1;
  std::string target;
  for (const Json& info : client().Call("Target.getTargets").value("targetInfos", Json::array()))
    if (info.value("type", "") == "page" && info.value("url", "") == url) target = info.value("targetId", "");
  if (target.empty()) return -1;
  page_ = client().Call("Target.attachToTarget", {{"targetId", target}, {"flatten", true}}).value("sessionId", "");
  return tab.get<long>();
}

Json ChromiumRig::Page(const std::string& expression) {
  return client()
      .Call("Runtime.evaluate", {{"expression", expression}, {"returnByValue", true}}, page_)
      .value("result", Json::object())
      .value("value", Json());
}

void ChromiumRig::Hover(const std::string& point_expression) {
  const Json point = Page(point_expression);
  x_ = point.at(0).get<double>();
  y_ = point.at(1).get<double>();
  client().Call("Input.dispatchMouseEvent", {{"type", "mouseMoved"}, {"x", x_}, {"y", y_}}, page_);
}

void ChromiumRig::Click(int modifiers) {
  // Input.dispatchMouseEvent's modifier bits are the rig's.
  for (const char* type : {"mousePressed", "mouseReleased"})
    client().Call("Input.dispatchMouseEvent", {{"type", type}, {"x", x_}, {"y", y_}, {"button", "left"},
                                               {"clickCount", 1}, {"modifiers", modifiers}}, page_);
}

void ChromiumRig::Key(const std::string& key, const std::string& code, int key_code) {
  for (const char* type : {"keyDown", "keyUp"})
    client().Call("Input.dispatchKeyEvent", {{"type", type}, {"key", key}, {"code", code},
                                             {"windowsVirtualKeyCode", key_code}}, page_);
}

void ChromiumRig::Type(const std::string& text) { client().Call("Input.insertText", {{"text", text}}, page_); }

bool ChromiumRig::PageShows(const std::string& text) {
  const Json document = client().Call("DOM.getDocument", {{"depth", -1}, {"pierce", true}}, page_);
  return AnyText(document.value("root", Json::object()), text);
}

}  // namespace

std::unique_ptr<ExtensionRig> StartChromiumRig(const std::string& host_line) {
  return std::make_unique<ChromiumRig>(host_line);
}

}  // namespace ph::test
