// Headless Chromium with the extension loaded and a native host of the test's choosing, driven over the DevTools protocol.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "band/cdp/posix/chromium_process.h"

namespace ph::test {

using cdp::Clock;
using cdp::Json;

// What a promise of the service worker came to: its value, or the text of its rejection.
struct WorkerAnswer {
  Json value;
  std::string error;
};

// Modifier bits of Input.dispatchMouseEvent.
constexpr int kAlt = 1, kCtrl = 2, kShift = 8;

class ExtensionRig {
 public:
  // host_line: the shell command line the host's launcher runs, with the browser's arguments after it.
  // Its folder() is the test's scratch folder, which the launcher exports as PH_HOST_DIR; the launcher
  // adds the id of each host process it starts to the file "launches" there, one a line.
  explicit ExtensionRig(const std::string& host_line);
  ~ExtensionRig();

  // Empty when the browser started with the extension's service worker; why not otherwise.
  const std::string& error() const { return error_; }
  const std::string& folder() const { return folder_; }

  // Evaluates a script in the service worker and waits for its promise.
  WorkerAnswer Worker(const std::string& expression, Clock::duration timeout = std::chrono::seconds(30));

  // Opens a tab on the url from the service worker, waits until it has loaded and attaches to it;
  // returns the tab's id, or -1.
  long OpenTab(const std::string& url);
  // The value of a script in the open tab's page (its own world).
  Json Page(const std::string& expression);
  // Moves the mouse onto the point a page script gives as [x, y], then presses and releases the left
  // button with the modifiers (Click) or not at all (Hover).
  void Hover(const std::string& point_expression);
  void Click(int modifiers);
  void Key(const std::string& key, const std::string& code, int key_code);
  void Type(const std::string& text);
  // Whether some text node of the open tab's page, closed shadow roots and frames included, holds text.
  bool PageShows(const std::string& text);

  // Waits until done() holds, at most the timeout; what the browser sends meanwhile is dropped.
  bool WaitUntil(const std::function<bool()>& done, Clock::duration timeout = std::chrono::seconds(10));

 private:
  cdp::DevToolsClient& client() { return browser_->client(); }

  std::string folder_;
  std::string error_;
  std::unique_ptr<cdp::ChromiumProcess> browser_;
  std::string worker_;  // the service worker's session
  std::string page_;    // the open tab's session
  double x_ = 0, y_ = 0;
};

// A point inside the element that a page expression names, in the top document's coordinates.
std::string PointIn(const std::string& element_expression);

// The whole text of a file; empty when there is none.
std::string ReadWholeFile(const std::string& path);

}  // namespace ph::test
