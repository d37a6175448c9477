// The rig in Firefox ESR: the host registered by grab host --install in a home folder of the test's,
// the extension installed as a temporary add-on, and the background and the page reached over
// WebDriver BiDi.
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <vector>

#include "tests/extension/bidi_session.h"
#include "tests/extension/extension_rig.h"
#include "tests/extension/firefox_process.h"
#include "tests/support/test_paths.h"

namespace ph::test {
namespace {

namespace fs = std::filesystem;

// The extension's internal id is random unless the profile fixes it; fixed, its pages have known addresses.
constexpr char kExtensionId[] = "pageharvest@pageharvest.org";
constexpr char kExtensionUuid[] = "5e1ec7ed-0000-4000-8000-0000000ff0a1";

// A fresh profile that opens no first-run page, asks nothing, and reaches for no server.
std::string UserPrefs() {
  const Json uuids = {{kExtensionId, kExtensionUuid}};
  std::string prefs;
  const std::pair<const char*, std::string> values[] = {
      {"remote.active-protocols", "1"},  // WebDriver BiDi alone
      {"extensions.webextensions.uuids", Json(uuids.dump()).dump()},
      {"browser.shell.checkDefaultBrowser", "false"},
      {"browser.startup.homepage_override.mstone", "\"ignore\""},
      {"browser.startup.page", "0"},
      {"browser.aboutwelcome.enabled", "false"},
      {"datareporting.policy.dataSubmissionEnabled", "false"},
      {"toolkit.telemetry.reportingpolicy.firstRun", "false"},
      {"app.update.disabledForTesting", "true"},
      {"app.normandy.enabled", "false"},
      {"extensions.update.enabled", "false"},
      {"services.settings.server", "\"data:,\""},
      {"network.connectivity-service.enabled", "false"},
      {"network.captive-portal-service.enabled", "false"},
      {"browser.safebrowsing.malware.enabled", "false"},
      {"browser.safebrowsing.phishing.enabled", "false"},
  };
  for (const auto& [name, value] : values) prefs += "user_pref(\"" + std::string(name) + "\", " + value + ");\n";
  return prefs;
}

// WebDriver's code points for the keys the tests press.
std::string KeyValue(const std::string& key) {
  if (key == "Enter") return "\xee\x80\x87";       // U+E007
  if (key == "Escape") return "\xee\x80\x8c";      // U+E00C
  if (key == "Tab") return "\xee\x80\x84";         // U+E004
  if (key == "Backspace") return "\xee\x80\x83";   // U+E003
  return key;
}

// Whether a text node of a BiDi-serialised node, its children or its shadow root holds the text.
bool AnyText(const Json& node, const std::string& text) {
  const auto found = node.find("value");
  if (found == node.end() || !found->is_object()) return false;
  const Json& value = *found;
  if (value.value("nodeValue", "").find(text) != std::string::npos) return true;
  for (const Json& child : value.value("children", Json::array()))
    if (AnyText(child, text)) return true;
  const auto shadow = value.find("shadowRoot");
  return shadow != value.end() && shadow->is_object() && AnyText(*shadow, text);
}

// A context of browsingContext.getTree and all of those below it.
void Contexts(const Json& info, std::vector<std::string>* out) {
  out->push_back(info.value("context", ""));
  for (const Json& child : info.value("children", Json::array())) Contexts(child, out);
}

class FirefoxRig : public ExtensionRig {
 public:
  explicit FirefoxRig(const std::string& host_line);
  ~FirefoxRig() override;

  WorkerAnswer Worker(const std::string& expression, Clock::duration timeout = std::chrono::seconds(30)) override;
  long OpenTab(const std::string& url) override;
  Json Page(const std::string& expression) override;
  void Hover(const std::string& point_expression) override;
  void Click(int modifiers) override;
  void Key(const std::string& key, const std::string& code, int key_code) override;
  void Type(const std::string& text) override;
  bool PageShows(const std::string& text) override;

 private:
  // Registers the host as a user does (so that Firefox reads the manifest grab writes), then puts the
  // test's launcher where grab's went.
  bool InstallHost(const std::string& home);
  // script.evaluate in a context: the success or exception reply, or nothing when BiDi failed.
  std::optional<Json> Evaluate(const std::string& context, const std::string& expression, bool await,
                               Clock::duration timeout = std::chrono::seconds(30), Json serialization = nullptr);
  void Actions(Json sources);

  std::unique_ptr<FirefoxProcess> browser_;
  std::unique_ptr<BidiSession> bidi_;
  std::string worker_;  // a tab on one of the extension's pages, whence the background is reached
  std::string page_;    // the open tab's context
  long x_ = 0, y_ = 0;
};

FirefoxRig::FirefoxRig(const std::string& host_line) : ExtensionRig(host_line) {
  const std::string home = folder() + "/home", profile = folder() + "/profile";
  fs::create_directories(home);
  fs::create_directories(profile);
  if (!InstallHost(home)) return;
  WriteWholeFile(profile + "/user.js", UserPrefs());
  // Firefox finds the user's native hosts under HOME; its caches and temporary files stay in the folder.
  browser_ = FirefoxProcess::Start(profile,
                                   {"HOME=" + home, "XDG_CONFIG_HOME=" + home + "/.config",
                                    "XDG_DATA_HOME=" + home + "/.local/share", "XDG_CACHE_HOME=" + home + "/.cache",
                                    "TMPDIR=" + profile, "MOZ_CRASHREPORTER_DISABLE=1"},
                                   folder() + "/firefox.log", &error_);
  if (!browser_) return;
  std::optional<WebSocketClient> socket = WebSocketClient::Connect(browser_->port(), "/session", &error_);
  if (!socket) return;
  bidi_ = std::make_unique<BidiSession>(std::move(*socket));
  try {
    bidi_->Call("session.new", {{"capabilities", Json::object()}});
    bidi_->Call("webExtension.install",
                {{"extensionData", {{"type", "path"}, {"path", SourceDir() + "/extension"}}}});
    const Json tree = bidi_->Call("browsingContext.getTree", {{"maxDepth", 0}});
    worker_ = tree.at("contexts").at(0).value("context", "");
    bidi_->Call("browsingContext.navigate", {{"context", worker_},
                                             {"url", std::string("moz-extension://") + kExtensionUuid + "/popup/popup.html"},
                                             {"wait", "complete"}});
  } catch (const std::exception& e) {
    error_ = e.what();
    return;
  }
  if (!WaitUntil([&] { return Worker("typeof pageHarvest").value == "object"; }))
    error_ = "the background page has no pageHarvest";
}

FirefoxRig::~FirefoxRig() {
  if (bidi_) {
    try {
      bidi_->Call("browser.close", Json::object(), std::chrono::seconds(5));
    } catch (const BidiError&) {
      // Ended by signal below.
    }
  }
  if (browser_) browser_->Stop(std::chrono::seconds(10));
}

bool FirefoxRig::InstallHost(const std::string& home) {
  auto quoted = [](const std::string& word) { return "'" + word + "'"; };
  const std::string line = "HOME=" + quoted(home) + " XDG_CONFIG_HOME=" + quoted(home + "/.config") +
                           " XDG_DATA_HOME=" + quoted(home + "/.local/share") + " " + quoted(PH_GRAB_PROGRAM) +
                           " -q host --install >>" + quoted(folder() + "/host.log") + " 2>&1";
  if (std::system(line.c_str()) != 0) {
    error_ = "grab host --install failed (see host.log)";
    return false;
  }
  const Json written =
      Json::parse(ReadWholeFile(home + "/.mozilla/native-messaging-hosts/org.pageharvest.host.json"), nullptr, false);
  if (!written.is_object() || written.value("allowed_extensions", Json()) != Json::array({kExtensionId}) ||
      written.value("path", "").rfind(home + "/", 0) != 0) {
    error_ = "grab host --install wrote no Firefox manifest for the extension under " + home;
    return false;
  }
  std::error_code ec;
  fs::copy_file(launcher(), written.value("path", ""), fs::copy_options::overwrite_existing, ec);
  if (ec) error_ = "cannot put the test's launcher in place: " + ec.message();
  return !ec;
}

std::optional<Json> FirefoxRig::Evaluate(const std::string& context, const std::string& expression, bool await,
                                         Clock::duration timeout, Json serialization) {
  Json params = {{"expression", expression}, {"target", {{"context", context}}}, {"awaitPromise", await},
                 {"resultOwnership", "none"}};
  if (!serialization.is_null()) params["serializationOptions"] = std::move(serialization);
  try {
    return bidi_->Call("script.evaluate", std::move(params), timeout);
  } catch (const BidiError&) {
    return std::nullopt;
  }
}

WorkerAnswer FirefoxRig::Worker(const std::string& expression, Clock::duration timeout) {
  // The background page's globals come first: the expression reads as it would in the background itself.
  const std::optional<Json> reply =
      Evaluate(worker_, "browser.runtime.getBackgroundPage().then(bg => { with (bg) return (" + expression + "); })",
               true, timeout);
  if (!reply) return {Json(), "no answer from the background page"};
  if (reply->value("type", "") == "exception") {
    const std::string text = reply->value("exceptionDetails", Json::object()).value("text", "");
    return {Json(), text.empty() ? "?" : text};
  }
  return {FromRemoteValue(reply->value("result", Json::object())), ""};
}

long FirefoxRig::OpenTab(const std::string& url) {
  const Json tab = Worker("chrome.tabs.create({url: " + Json(url).dump() + "}).then(t => t.id)").value;
  if (!tab.is_number_integer()) return -1;
  const std::string id = std::to_string(tab.get<long>());
  // A new tab may say "complete" of its first about:blank before it starts on the address, so the
  // wait ends only when the tab's context shows the address and the load is over.
  page_.clear();
  auto loaded = [&] {
    if (Worker("chrome.tabs.get(" + id + ").then(t => t.status)").value != "complete") return false;
    try {
      for (const Json& info : bidi_->Call("browsingContext.getTree", {{"maxDepth", 0}}).value("contexts", Json::array()))
        if (info.value("url", "") == url) page_ = info.value("context", "");
    } catch (const BidiError&) {
      return false;
    }
    return !page_.empty();
  };
  if (!WaitUntil(loaded, std::chrono::seconds(30))) return -1;
  return tab.get<long>();
}

Json FirefoxRig::Page(const std::string& expression) {
  const std::optional<Json> reply = Evaluate(page_, expression, false);
  if (!reply || reply->value("type", "") != "success") return nullptr;
  return FromRemoteValue(reply->value("result", Json::object()));
}

void FirefoxRig::Actions(Json sources) {
  try {
    bidi_->Call("input.performActions", {{"context", page_}, {"actions", std::move(sources)}});
  } catch (const BidiError&) {
    // The test sees what the page did not do.
  }
}

void FirefoxRig::Hover(const std::string& point_expression) {
  const Json point = Page(point_expression);
  if (!point.is_array() || point.size() != 2) return;
  x_ = std::lround(point[0].get<double>());
  y_ = std::lround(point[1].get<double>());
  Actions(Json::array({{{"type", "pointer"}, {"id", "mouse"}, {"parameters", {{"pointerType", "mouse"}}},
                        {"actions", Json::array({{{"type", "pointerMove"}, {"x", x_}, {"y", y_}}})}}}));
}

void FirefoxRig::Click(int modifiers) {
  // Tick by tick: the modifiers go down, the button goes down and up, the modifiers come up.
  Json keys = Json::array(), mouse = Json::array();
  std::vector<std::string> held;
  if (modifiers & kAlt) held.push_back("\xee\x80\x8a");    // U+E00A
  if (modifiers & kCtrl) held.push_back("\xee\x80\x89");   // U+E009
  if (modifiers & kShift) held.push_back("\xee\x80\x88");  // U+E008
  const Json pause = {{"type", "pause"}, {"duration", 0}};
  for (const std::string& key : held) {
    keys.push_back({{"type", "keyDown"}, {"value", key}});
    mouse.push_back(pause);
  }
  mouse.push_back({{"type", "pointerMove"}, {"x", x_}, {"y", y_}});
  mouse.push_back({{"type", "pointerDown"}, {"button", 0}});
  mouse.push_back({{"type", "pointerUp"}, {"button", 0}});
  for (int i = 0; i < 3; ++i) keys.push_back(pause);
  for (const std::string& key : held) {
    keys.push_back({{"type", "keyUp"}, {"value", key}});
    mouse.push_back(pause);
  }
  Actions(Json::array({{{"type", "key"}, {"id", "keyboard"}, {"actions", keys}},
                       {{"type", "pointer"}, {"id", "mouse"}, {"parameters", {{"pointerType", "mouse"}}},
                        {"actions", mouse}}}));
}

void FirefoxRig::Key(const std::string& key, const std::string&, int) {
  const std::string value = KeyValue(key);
  Actions(Json::array({{{"type", "key"}, {"id", "keyboard"},
                        {"actions", Json::array({{{"type", "keyDown"}, {"value", value}},
                                                 {{"type", "keyUp"}, {"value", value}}})}}}));
}

void FirefoxRig::Type(const std::string& text) {
  Json keys = Json::array();
  for (std::size_t i = 0; i < text.size();) {
    // One key per character, whatever its length in UTF-8.
    std::size_t length = 1;
    while (i + length < text.size() && (static_cast<unsigned char>(text[i + length]) & 0xc0) == 0x80) ++length;
    const std::string character = text.substr(i, length);
    keys.push_back({{"type", "keyDown"}, {"value", character}});
    keys.push_back({{"type", "keyUp"}, {"value", character}});
    i += length;
  }
  Actions(Json::array({{{"type", "key"}, {"id", "keyboard"}, {"actions", keys}}}));
}

bool FirefoxRig::PageShows(const std::string& text) {
  std::vector<std::string> contexts;
  try {
    for (const Json& info : bidi_->Call("browsingContext.getTree", {{"root", page_}}).value("contexts", Json::array()))
      Contexts(info, &contexts);
  } catch (const BidiError&) {
    return false;
  }
  // The whole document, closed shadow roots included, as BiDi serialises a node; frames are contexts of their own.
  const Json serialization = {{"maxDomDepth", nullptr}, {"includeShadowTree", "all"}};
  for (const std::string& context : contexts) {
    const std::optional<Json> reply =
        Evaluate(context, "document.documentElement", false, std::chrono::seconds(30), serialization);
    if (reply && AnyText(reply->value("result", Json::object()), text)) return true;
  }
  return false;
}

}  // namespace

std::unique_ptr<ExtensionRig> StartFirefoxRig(const std::string& host_line) {
  return std::make_unique<FirefoxRig>(host_line);
}

}  // namespace ph::test
