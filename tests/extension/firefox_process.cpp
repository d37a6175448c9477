// Spawning Firefox in a process group of its own, finding its BiDi port in the profile, and ending the group.
#include "tests/extension/firefox_process.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <thread>

#include "band/cdp/posix/chromium_process.h"

extern char** environ;

namespace ph::test {
namespace {

// The variables of ours that the test does not set itself, and the test's.
std::vector<std::string> Environment(const std::vector<std::string>& added) {
  std::vector<std::string> out = added;
  for (char** e = environ; *e; ++e) {
    const std::string variable = *e;
    const std::string name = variable.substr(0, variable.find('=') + 1);
    bool replaced = false;
    for (const std::string& own : added) replaced = replaced || own.rfind(name, 0) == 0;
    if (!replaced) out.push_back(variable);
  }
  return out;
}

std::vector<char*> Pointers(std::vector<std::string>& texts) {
  std::vector<char*> pointers;
  for (std::string& text : texts) pointers.push_back(text.data());
  pointers.push_back(nullptr);
  return pointers;
}

}  // namespace

std::unique_ptr<FirefoxProcess> FirefoxProcess::Start(const std::string& profile,
                                                      const std::vector<std::string>& environment,
                                                      const std::string& log, std::string* error) {
  const std::string program = cdp::FindProgram("firefox-esr");
  if (program.empty()) {
    *error = "cannot find firefox-esr";
    return nullptr;
  }
  // Port 0: the browser takes a free one and writes it into WebDriverBiDiServer.json in the profile.
  // System access lets BiDi open the extension's own pages, from which the rig reaches its background.
  std::vector<std::string> args = {program, "--headless", "--no-remote", "--remote-debugging-port=0",
                                   "--remote-allow-system-access", "--profile", profile, "about:blank"};
  std::vector<std::string> variables = Environment(environment);
  std::vector<char*> argv = Pointers(args), envp = Pointers(variables);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 1, log.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
  posix_spawn_file_actions_adddup2(&actions, 1, 2);
  posix_spawnattr_t attributes;
  posix_spawnattr_init(&attributes);
  // A group of its own, so that its content processes end with it.
  posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETPGROUP);
  posix_spawnattr_setpgroup(&attributes, 0);
  pid_t pid = -1;
  const int spawned = ::posix_spawn(&pid, program.c_str(), &actions, &attributes, argv.data(), envp.data());
  posix_spawn_file_actions_destroy(&actions);
  posix_spawnattr_destroy(&attributes);
  if (spawned != 0) {
    *error = "cannot start " + program;
    return nullptr;
  }
  std::unique_ptr<FirefoxProcess> browser(new FirefoxProcess(pid));

  const std::string server = profile + "/WebDriverBiDiServer.json";
  const auto deadline = Clock::now() + std::chrono::seconds(60);
  while (Clock::now() < deadline) {
    std::ifstream in(server);
    const Json found = Json::parse(in, nullptr, false);
    if (found.is_object() && found.value("ws_port", 0) > 0) {
      browser->port_ = static_cast<std::uint16_t>(found.value("ws_port", 0));
      return browser;
    }
    if (browser->Reap(std::chrono::milliseconds(0))) {
      *error = program + " ended before WebDriver BiDi was listening (see " + log + ")";
      return nullptr;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  *error = program + " did not start WebDriver BiDi in a minute (see " + log + ")";
  return nullptr;
}

bool FirefoxProcess::Reap(Clock::duration within) {
  const auto deadline = Clock::now() + within;
  for (;;) {
    int status = 0;
    const pid_t r = ::waitpid(pid_, &status, WNOHANG);
    if (r == pid_ || (r < 0 && errno != EINTR)) {
      running_ = false;
      return true;
    }
    if (Clock::now() >= deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
}

void FirefoxProcess::Stop(Clock::duration grace) {
  if (stopped_) return;
  stopped_ = true;
  if (running_ && !Reap(grace)) {
    ::kill(-pid_, SIGTERM);
    if (!Reap(std::chrono::seconds(5))) {
      ::kill(-pid_, SIGKILL);
      Reap(std::chrono::seconds(5));
    }
  }
  // Helpers that outlived the main process would keep the profile busy.
  ::kill(-pid_, SIGKILL);
}

}  // namespace ph::test
