// Headless Firefox ESR on a profile of the test's, with WebDriver BiDi on a port it picks itself.
#pragma once

#include <sys/types.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "tests/extension/extension_rig.h"

namespace ph::test {

class FirefoxProcess {
 public:
  // Starts the browser on the profile folder (which holds its user.js) with these variables added
  // to ours, its output in the log, and waits until it says on which port BiDi listens; null with
  // the reason in *error otherwise.
  static std::unique_ptr<FirefoxProcess> Start(const std::string& profile, const std::vector<std::string>& environment,
                                               const std::string& log, std::string* error);
  ~FirefoxProcess() { Stop(std::chrono::seconds(0)); }
  FirefoxProcess(const FirefoxProcess&) = delete;
  FirefoxProcess& operator=(const FirefoxProcess&) = delete;

  std::uint16_t port() const { return port_; }
  // Waits as long as grace for the browser to end (after it was asked to close), then ends it and
  // its helper processes by signal. Safe to call more than once.
  void Stop(Clock::duration grace);

 private:
  FirefoxProcess(pid_t pid) : pid_(pid) {}
  // Whether the process ended within the time (and was reaped).
  bool Reap(Clock::duration within);

  pid_t pid_;
  bool running_ = true;
  bool stopped_ = false;
  std::uint16_t port_ = 0;
};

}  // namespace ph::test
