// A headless Chromium started for this program alone, spoken to over --remote-debugging-pipe, and
// always shut down with its private profile removed.
#pragma once

#include <sys/types.h>

#include <functional>
#include <memory>
#include <vector>

#include "band/cdp/posix/devtools_client.h"

namespace ph::cdp {

struct ChromiumOptions {
  std::string program = "chromium";  // a name looked up on PATH, or a path
  bool headless = true;
  // Set by a signal handler: every wait for the browser ends at once.
  const volatile std::sig_atomic_t* stop = nullptr;
  Clock::duration start_timeout = std::chrono::seconds(30);
  // Unpacked extensions to load, by folder; without any, extensions are off.
  std::vector<std::string> extensions;
  // Runs with the new profile folder before the browser starts (native messaging hosts go there).
  std::function<void(const std::string& profile)> prepare_profile;
};

class ChromiumProcess {
 public:
  // Starts the browser and waits until it answers; null with the reason in *error otherwise.
  static std::unique_ptr<ChromiumProcess> Start(const ChromiumOptions& options, std::string* error);
  ~ChromiumProcess();
  ChromiumProcess(const ChromiumProcess&) = delete;
  ChromiumProcess& operator=(const ChromiumProcess&) = delete;

  DevToolsClient& client() { return *client_; }
  // Asks the browser to close, then ends it by force if it does not; removes its profile folder.
  // Safe to call more than once.
  void Stop();

 private:
  ChromiumProcess(pid_t pid, std::string profile, std::unique_ptr<DevToolsPipe> pipe);
  // Waits for the process to end; false when it still runs at the deadline.
  bool Reap(Clock::duration within);

  pid_t pid_;
  bool running_ = true;
  std::string profile_;
  std::unique_ptr<DevToolsPipe> pipe_;
  std::unique_ptr<DevToolsClient> client_;
};

// The full path of a program as execvp would find it; empty when there is none.
std::string FindProgram(const std::string& program);

}  // namespace ph::cdp
