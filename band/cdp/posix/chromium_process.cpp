// Starting Chromium with its DevTools pipe on descriptors 3 and 4, and ending it whatever happened.
#include "band/cdp/posix/chromium_process.h"

#include "platform/posix/unique_fd.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <thread>
#include <vector>

extern char** environ;

namespace ph::cdp {
namespace {

// The pipe ends the child keeps are moved above 3 and 4 first, so that placing one on 3 or 4 cannot
// overwrite the other.
int HighCopy(int fd) { return ::fcntl(fd, F_DUPFD_CLOEXEC, 10); }

std::string LastLine(const std::string& file) {
  std::ifstream in(file);
  std::string line, last;
  while (std::getline(in, line))
    if (!line.empty()) last = line;
  return last;
}

}  // namespace

std::string FindProgram(const std::string& program) {
  if (program.empty()) return {};
  if (program.find('/') != std::string::npos) return ::access(program.c_str(), X_OK) == 0 ? program : std::string();
  const char* path = std::getenv("PATH");
  std::string dirs = path ? path : "/usr/bin:/bin";
  std::size_t start = 0;
  for (;;) {
    const std::size_t end = dirs.find(':', start);
    std::string dir = dirs.substr(start, end == std::string::npos ? std::string::npos : end - start);
    if (dir.empty()) dir = ".";
    const std::string candidate = dir + "/" + program;
    if (::access(candidate.c_str(), X_OK) == 0 && !std::filesystem::is_directory(candidate)) return candidate;
    if (end == std::string::npos) return {};
    start = end + 1;
  }
}

namespace {

std::vector<std::string> BrowserArguments(const ChromiumOptions& options, const std::string& program,
                                          const std::string& profile) {
  std::vector<std::string> args = {program, "--remote-debugging-pipe", "--user-data-dir=" + profile,
                                   "--no-first-run", "--no-default-browser-check",
                                   "--disable-background-networking", "--disable-sync", "--mute-audio",
                                   "--password-store=basic", "--use-mock-keychain",
                                   // Frames of other sites stay in the page's own process, where the
                                   // page's session reaches their documents.
                                   "--disable-site-isolation-trials",
                                   // Pages load side by side in tabs that are not in front: their
                                   // timers must run on time, as in the tab in front.
                                   "--disable-background-timer-throttling", "--disable-renderer-backgrounding",
                                   "--disable-backgrounding-occluded-windows"};
  // Chromium reads only the last --disable-features it is given: one list. A tab goes from page to
  // page; kept for going back, each page left would hold its memory.
  std::string disabled = "--disable-features=site-per-process,IsolateOrigins,Translate,BackForwardCache";
  if (options.extensions.empty()) {
    args.push_back("--disable-extensions");
  } else {
    std::string folders;
    for (const std::string& folder : options.extensions) folders += (folders.empty() ? "" : ",") + folder;
    args.push_back("--load-extension=" + folders);
    disabled += ",DisableLoadExtensionCommandLineSwitch";
  }
  args.push_back(disabled);
  if (options.headless) args.push_back("--headless");
  // Chromium's sandbox refuses to run for root; as any other user it stays on.
  if (::geteuid() == 0) args.push_back("--no-sandbox");
  args.push_back("about:blank");
  return args;
}

// Ours, but for the browser's own temporary files, which go into the profile folder so that they go
// with it.
std::vector<std::string> BrowserEnvironment(const std::string& temp_files) {
  std::vector<std::string> environment;
  for (char** e = environ; *e; ++e)
    if (std::string_view(*e).rfind("TMPDIR=", 0) != 0) environment.emplace_back(*e);
  environment.push_back("TMPDIR=" + temp_files);
  return environment;
}

std::vector<char*> Pointers(std::vector<std::string>& texts) {
  std::vector<char*> pointers;
  for (std::string& text : texts) pointers.push_back(text.data());
  pointers.push_back(nullptr);
  return pointers;
}

// Starts the program with the pipe's ends on descriptors 3 and 4 and its errors in the log; the
// process id, or -1.
pid_t Spawn(const std::string& program, std::vector<std::string> args, std::vector<std::string> environment,
            int child_in, int child_out, const std::string& log) {
  std::vector<char*> argv = Pointers(args), envp = Pointers(environment);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, child_in, 3);
  posix_spawn_file_actions_adddup2(&actions, child_out, 4);
  posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 2, log.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
  posix_spawnattr_t attributes;
  posix_spawnattr_init(&attributes);
  // Its own process group: Ctrl-C on the terminal reaches grab, which then ends the browser and all
  // of its helper processes together.
  posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETPGROUP | POSIX_SPAWN_SETSIGDEF);
  posix_spawnattr_setpgroup(&attributes, 0);
  sigset_t defaults;
  sigemptyset(&defaults);
  for (int s : {SIGINT, SIGTERM, SIGPIPE, SIGHUP}) sigaddset(&defaults, s);
  posix_spawnattr_setsigdefault(&attributes, &defaults);
  pid_t pid = -1;
  const int spawned = ::posix_spawn(&pid, program.c_str(), &actions, &attributes, argv.data(), envp.data());
  posix_spawn_file_actions_destroy(&actions);
  posix_spawnattr_destroy(&attributes);
  return spawned == 0 ? pid : -1;
}

}  // namespace

std::unique_ptr<ChromiumProcess> ChromiumProcess::Start(const ChromiumOptions& options, std::string* error) {
  const std::string program = FindProgram(options.program);
  if (program.empty()) {
    *error = "cannot find the browser program '" + options.program + "'";
    return nullptr;
  }
  std::error_code ec;
  const auto temp = std::filesystem::temp_directory_path(ec);
  std::string pattern = (ec ? std::filesystem::path("/tmp") : temp) / "grab-chromium-XXXXXX";
  if (!::mkdtemp(pattern.data())) {
    *error = "cannot make a profile folder for the browser in " + temp.string();
    return nullptr;
  }
  const std::string profile = pattern;
  const std::string log = profile + "/browser.log";
  auto fail = [&](std::string why) {
    std::filesystem::remove_all(profile, ec);
    *error = std::move(why);
    return nullptr;
  };

  int to_browser[2], from_browser[2];
  if (::pipe2(to_browser, O_CLOEXEC) != 0) return fail("cannot make a pipe for the browser");
  // Descriptors that close themselves: a failed start must not leave half a pipe open.
  UniqueFd command_read{to_browser[0]}, command_write{to_browser[1]};
  if (::pipe2(from_browser, O_CLOEXEC) != 0) return fail("cannot make a pipe for the browser");
  UniqueFd reply_read{from_browser[0]}, reply_write{from_browser[1]};
  UniqueFd child_in{HighCopy(command_read.get())}, child_out{HighCopy(reply_write.get())};

  if (options.prepare_profile) options.prepare_profile(profile);
  const std::string temp_files = profile + "/tmp";
  std::filesystem::create_directory(temp_files, ec);
  const pid_t pid = Spawn(program, BrowserArguments(options, program, profile), BrowserEnvironment(temp_files),
                          child_in.get(), child_out.get(), log);
  if (pid < 0) return fail("cannot start " + program);
  // The browser has its ends now; ours must go, so that its pipe closes when it ends.
  for (UniqueFd* end : {&child_in, &child_out, &command_read, &reply_write}) end->reset();

  auto pipe = std::make_unique<DevToolsPipe>(std::move(reply_read), std::move(command_write), options.stop);
  std::unique_ptr<ChromiumProcess> browser(new ChromiumProcess(pid, profile, std::move(pipe)));
  try {
    browser->client().Call("Browser.getVersion", Json::object(), {}, options.start_timeout);
  } catch (const DevToolsError& e) {
    const std::string said = LastLine(log);
    browser->Stop();
    *error = program + " did not answer (" + e.what() + ")" + (said.empty() ? "" : ": " + said);
    return nullptr;
  }
  return browser;
}

ChromiumProcess::ChromiumProcess(pid_t pid, std::string profile, std::unique_ptr<DevToolsPipe> pipe)
    : pid_(pid), profile_(std::move(profile)), pipe_(std::move(pipe)), client_(std::make_unique<DevToolsClient>(*pipe_)) {}

ChromiumProcess::~ChromiumProcess() { Stop(); }

bool ChromiumProcess::Reap(Clock::duration within) {
  const auto deadline = Clock::now() + within;
  for (;;) {
    int status = 0;
    const pid_t r = ::waitpid(pid_, &status, WNOHANG);
    if (r == pid_ || (r < 0 && errno != EINTR)) return true;
    if (Clock::now() >= deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
}

void ChromiumProcess::Stop() {
  if (!running_) return;
  running_ = false;
  bool asked = false;
  // Even after Ctrl-C the browser is asked to close first: killed, it leaves its files behind.
  pipe_->IgnoreStop();
  try {
    client_->Call("Browser.close", Json::object(), {}, std::chrono::seconds(2));
    asked = true;
  } catch (const DevToolsError&) {
    // Gone already, hung, or interrupted: it is ended by signal below.
  }
  // Closing our ends tells a browser that did not hear Browser.close that we are gone.
  client_.reset();
  pipe_.reset();
  if (!(asked && Reap(std::chrono::seconds(5)))) {
    ::kill(-pid_, SIGTERM);
    if (!Reap(std::chrono::seconds(3))) {
      ::kill(-pid_, SIGKILL);
      Reap(std::chrono::seconds(5));
    }
  }
  // Helpers of the browser that outlived it would keep the profile busy.
  ::kill(-pid_, SIGKILL);
  std::error_code ec;
  std::filesystem::remove_all(profile_, ec);
}

}  // namespace ph::cdp
