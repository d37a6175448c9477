// What the rigs of both browsers share: the test's folder and the host's launcher in it, waiting, and the page's points.
#include "tests/extension/extension_rig.h"

#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

#include <gtest/gtest.h>

#include "band/cdp/posix/chromium_process.h"
#include "tests/support/test_paths.h"

namespace ph::test {

std::string BrowserName(Browser browser) { return browser == Browser::kChromium ? "Chromium" : "Firefox"; }

bool BrowserInstalled(Browser browser) {
  return !cdp::FindProgram(browser == Browser::kChromium ? "chromium" : "firefox-esr").empty();
}

std::unique_ptr<ExtensionRig> ExtensionRig::Start(Browser browser, const std::string& host_line) {
  return browser == Browser::kChromium ? StartChromiumRig(host_line) : StartFirefoxRig(host_line);
}

ExtensionRig::ExtensionRig(const std::string& host_line) : folder_(MakeScratchDir("extension")) {
  WriteWholeFile(launcher(), "#!/bin/sh\n# The native host of one test.\nexport PH_HOST_DIR='" + folder_ + "'\n" +
                                 "echo $$ >>\"$PH_HOST_DIR/launches\"\n" +
                                 "exec " + host_line + " \"$@\" 2>>\"$PH_HOST_DIR/host.log\"\n");
  ::chmod(launcher().c_str(), 0755);
}

ExtensionRig::~ExtensionRig() {
  std::error_code ec;
  // A failed test leaves its folder (the host's log, what it saved) for a look.
  if (!::testing::Test::HasFailure()) std::filesystem::remove_all(folder_, ec);
}

bool ExtensionRig::WaitUntil(const std::function<bool()>& done, Clock::duration timeout) {
  const auto end = Clock::now() + timeout;
  for (;;) {
    if (done()) return true;
    if (Clock::now() > end) return false;
    Idle();
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
}

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

void WriteWholeFile(const std::string& path, const std::string& text) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << text;
}

}  // namespace ph::test
