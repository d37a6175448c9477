// Starting Chromium with the extension and the test's native host, and speaking to the service worker and the page.
#include "tests/extension/extension_rig.h"

#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

#include <gtest/gtest.h>

#include "tests/support/test_paths.h"

namespace ph::test {
namespace {

using namespace std::chrono_literals;

constexpr char kExtensionOrigin[] = "chrome-extension://alkfoobnckhimlcamnljecggfgppgdog/";

void WriteFile(const std::string& path, const std::string& text) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << text;
}

// Every text node's value under a DOM.getDocument node, shadow roots and frame documents included.
bool AnyText(const Json& node, const std::string& text) {
  if (node.value("nodeValue", "").find(text) != std::string::npos) return true;
  for (const char* key : {"children", "shadowRoots"})
    for (const Json& child : node.value(key, Json::array()))
      if (AnyText(child, text)) return true;
  return node.contains("contentDocument") && AnyText(node["contentDocument"], text);
}

}  // namespace

std::string PointIn(const std::string& element_expression) {
  // Inside the element's padding, so that the element itself is under the mouse; a frame's document
  // lies where its frame element is.
  return "(() => { const el = " + element_expression + "; const r = el.getBoundingClientRect();"
         " let x = r.left + 3, y = r.top + 3;"
         " for (let w = el.ownerDocument.defaultView; w.frameElement; w = w.parent) {"
         "   const f = w.frameElement.getBoundingClientRect(); x += f.left; y += f.top; }"
         " return [x, y]; })()";
}

std::string ReadWholeFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

ExtensionRig::ExtensionRig(const std::string& host_line) : folder_(MakeScratchDir("extension")) {
  const std::string launcher = folder_ + "/host.sh";
  WriteFile(launcher, "#!/bin/sh\n# The native host of one test.\nexport PH_HOST_DIR='" + folder_ + "'\n" +
                          "echo $$ >>\"$PH_HOST_DIR/launches\"\n" +
                          "exec " + host_line + " \"$@\" 2>>\"$PH_HOST_DIR/host.log\"\n");
  ::chmod(launcher.c_str(), 0755);
  cdp::ChromiumOptions options;
  options.extensions = {SourceDir() + "/extension"};
  options.prepare_profile = [&](const std::string& profile) {
    std::filesystem::create_directories(profile + "/NativeMessagingHosts");
    const Json manifest = {{"name", "org.pageharvest.host"}, {"description", "PageHarvest (test)"},
                           {"path", launcher}, {"type", "stdio"}, {"allowed_origins", {kExtensionOrigin}}};
    WriteFile(profile + "/NativeMessagingHosts/org.pageharvest.host.json", manifest.dump());
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

ExtensionRig::~ExtensionRig() {
  if (browser_) browser_->Stop();
  std::error_code ec;
  // A failed test leaves its folder (the host's log, what it saved) for a look.
  if (!::testing::Test::HasFailure()) std::filesystem::remove_all(folder_, ec);
}

WorkerAnswer ExtensionRig::Worker(const std::string& expression, Clock::duration timeout) {
  const Json result = client().Call("Runtime.evaluate",
                                    {{"expression", expression}, {"awaitPromise", true}, {"returnByValue", true}},
                                    worker_, timeout);
  if (const auto thrown = result.find("exceptionDetails"); thrown != result.end()) {
    const std::string text = thrown->value("exception", Json::object()).value("description", thrown->value("text", "?"));
    return {Json(), text.empty() ? "?" : text};
  }
  return {result.value("result", Json::object()).value("value", Json()), ""};
}

long ExtensionRig::OpenTab(const std::string& url) {
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

Json ExtensionRig::Page(const std::string& expression) {
  return client()
      .Call("Runtime.evaluate", {{"expression", expression}, {"returnByValue", true}}, page_)
      .value("result", Json::object())
      .value("value", Json());
}

void ExtensionRig::Hover(const std::string& point_expression) {
  const Json point = Page(point_expression);
  x_ = point.at(0).get<double>();
  y_ = point.at(1).get<double>();
  client().Call("Input.dispatchMouseEvent", {{"type", "mouseMoved"}, {"x", x_}, {"y", y_}}, page_);
}

void ExtensionRig::Click(int modifiers) {
  for (const char* type : {"mousePressed", "mouseReleased"})
    client().Call("Input.dispatchMouseEvent", {{"type", type}, {"x", x_}, {"y", y_}, {"button", "left"},
                                               {"clickCount", 1}, {"modifiers", modifiers}}, page_);
}

void ExtensionRig::Key(const std::string& key, const std::string& code, int key_code) {
  for (const char* type : {"keyDown", "keyUp"})
    client().Call("Input.dispatchKeyEvent", {{"type", type}, {"key", key}, {"code", code},
                                             {"windowsVirtualKeyCode", key_code}}, page_);
}

void ExtensionRig::Type(const std::string& text) { client().Call("Input.insertText", {{"text", text}}, page_); }

bool ExtensionRig::PageShows(const std::string& text) {
  const Json document = client().Call("DOM.getDocument", {{"depth", -1}, {"pierce", true}}, page_);
  return AnyText(document.value("root", Json::object()), text);
}

bool ExtensionRig::WaitUntil(const std::function<bool()>& done, Clock::duration timeout) {
  const auto end = Clock::now() + timeout;
  for (;;) {
    if (done()) return true;
    if (Clock::now() > end) return false;
    client().DrainEvents([](const cdp::Event&) {});
    std::this_thread::sleep_for(50ms);
  }
}

}  // namespace ph::test
