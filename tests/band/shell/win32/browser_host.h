// A stand-in browser window on a thread of its own, whose site hands the band its window and browser.
#pragma once

#include <windows.h>
#include <shlobj.h>

#include <functional>
#include <thread>

#include "platform/win32/com_ptr.h"
#include "tests/band/shell/win32/stand_in_browser.h"

namespace ph::test {

inline constexpr char kHostTitle[] = "PageHarvest band host";

class BrowserHost {
 public:
  // Starts the thread with its window and its single-threaded apartment.
  BrowserHost();
  // Closes the band as the browser does (CloseDW, SetSite(null), Release) and ends the thread.
  ~BrowserHost();
  BrowserHost(const BrowserHost&) = delete;
  BrowserHost& operator=(const BrowserHost&) = delete;

  // Runs fn on the host's thread and waits for it: every call of the band goes through here.
  // Nothing that shows a modal window may be run this way while the test waits.
  void Run(const std::function<void()>& fn);
  // The same without waiting, for calls that show a message box the test then answers.
  void Post(std::function<void()> fn);

  // Creates the band by its class id and gives it the site; the result of CoCreateInstance.
  HRESULT AttachBand();
  // Only on the host's thread.
  IDeskBand* band() const { return band_.get(); }
  StandInBrowser& browser() const { return *browser_.get(); }

  HWND window() const { return window_; }
  // The band's toolbar and control window, found among the host window's children.
  HWND Toolbar() const;
  HWND ControlWindow() const;
  int focus_changes() const { return focus_changes_; }

 private:
  class Site;
  void ThreadMain();

  std::thread thread_;
  HWND window_ = nullptr;
  win::ComPtr<StandInBrowser> browser_;
  win::ComPtr<IDeskBand> band_;
  win::ComPtr<IUnknown> site_;
  int focus_changes_ = 0;
};

}  // namespace ph::test
