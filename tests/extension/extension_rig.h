// A headless browser with the extension loaded and a native host of the test's choosing: the same
// calls in Chromium (over the DevTools protocol) and in Firefox (over WebDriver BiDi).
#pragma once

#include <chrono>
#include <functional>
#include <memory>
#include <ostream>
#include <string>

#include <nlohmann/json.hpp>

namespace ph::test {

using Json = nlohmann::json;
using Clock = std::chrono::steady_clock;

enum class Browser { kChromium, kFirefox };

// The browser's name, for the names of parametrised tests.
std::string BrowserName(Browser browser);
inline void PrintTo(Browser browser, std::ostream* out) { *out << BrowserName(browser); }
// Whether the browser's program is on PATH.
bool BrowserInstalled(Browser browser);

// What a promise of the extension's background came to: its value, or the text of its rejection.
struct WorkerAnswer {
  Json value;
  std::string error;
};

// Modifier keys held during a click.
constexpr int kAlt = 1, kCtrl = 2, kShift = 8;

class ExtensionRig {
 public:
  // host_line: the shell command line the host's launcher runs, with the browser's arguments after it.
  // Its folder() is the test's scratch folder, which the launcher exports as PH_HOST_DIR; the launcher
  // adds the id of each host process it starts to the file "launches" there, one a line.
  static std::unique_ptr<ExtensionRig> Start(Browser browser, const std::string& host_line);
  virtual ~ExtensionRig();
  ExtensionRig(const ExtensionRig&) = delete;
  ExtensionRig& operator=(const ExtensionRig&) = delete;

  // Empty when the browser started with the extension's background; why not otherwise.
  const std::string& error() const { return error_; }
  const std::string& folder() const { return folder_; }

  // Evaluates a script in the extension's background (Chromium's service worker, Firefox's background
  // page) and waits for its promise. chrome.* works in both.
  virtual WorkerAnswer Worker(const std::string& expression, Clock::duration timeout = std::chrono::seconds(30)) = 0;

  // Opens a tab on the url from the background, waits until it has loaded and attaches to it;
  // returns the tab's id, or -1.
  virtual long OpenTab(const std::string& url) = 0;
  // The value of a script in the open tab's page (its own world).
  virtual Json Page(const std::string& expression) = 0;
  // Moves the mouse onto the point a page script gives as [x, y], then presses and releases the left
  // button with the modifiers (Click) or not at all (Hover).
  virtual void Hover(const std::string& point_expression) = 0;
  virtual void Click(int modifiers) = 0;
  // A key by its DOM key name ("Enter"), code and Windows virtual key code.
  virtual void Key(const std::string& key, const std::string& code, int key_code) = 0;
  virtual void Type(const std::string& text) = 0;
  // Whether some text node of the open tab's page, closed shadow roots and frames included, holds text.
  virtual bool PageShows(const std::string& text) = 0;

  // Waits until done() holds, at most the timeout; what the browser sends meanwhile is dropped.
  bool WaitUntil(const std::function<bool()>& done, Clock::duration timeout = std::chrono::seconds(10));

 protected:
  // Makes the scratch folder and the host's launcher in it.
  explicit ExtensionRig(const std::string& host_line);
  // The launcher's path, for the browser's host manifest.
  std::string launcher() const { return folder_ + "/host.sh"; }
  // Lets the browser's messages that nobody waits for go.
  virtual void Idle() {}

  std::string error_;

 private:
  std::string folder_;
};

// Each browser's rig (chromium_rig.cpp, firefox_rig.cpp), which Start picks from.
std::unique_ptr<ExtensionRig> StartChromiumRig(const std::string& host_line);
std::unique_ptr<ExtensionRig> StartFirefoxRig(const std::string& host_line);

// A point inside the element that a page expression names, in the top document's coordinates.
std::string PointIn(const std::string& element_expression);

// The whole text of a file; empty when there is none.
std::string ReadWholeFile(const std::string& path);
void WriteWholeFile(const std::string& path, const std::string& text);

}  // namespace ph::test
