// Starting and ending a scratch copy of PageHarvest.exe.
#include "tests/controller/shell/win32/controller_program.h"

#include <filesystem>
#include <fstream>
#include <iterator>

#include "tests/support/test_paths.h"
#include "tools/harness/win32/robot.h"

namespace ph::test {
namespace {

// The build gives a path of the build machine; under Wine its root is drive Z:.
std::string BuiltProgram() {
  std::string path = PH_CONTROLLER_EXE;
  if (!path.empty() && path[0] == '/') path = "Z:" + path;
  for (char& c : path)
    if (c == '/') c = '\\';
  return path;
}

// Every program a test starts goes into one job that ends with the test program, so that a crashed
// test leaves no controller behind holding the runner's streams.
HANDLE TestJob() {
  static const win::UniqueKernelHandle job = [] {
    win::UniqueKernelHandle created(::CreateJobObjectA(nullptr, nullptr));
    JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits = {};
    limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
    if (created)
      ::SetInformationJobObject(created.get(), JobObjectExtendedLimitInformation, &limits, sizeof limits);
    return created;
  }();
  return job.get();
}

}  // namespace

ControllerProgram::ControllerProgram() {
  folder_ = MakeScratchDir("controller");
  exe_ = folder_ + "\\PageHarvest.exe";
  ::CopyFileA(BuiltProgram().c_str(), exe_.c_str(), FALSE);
}

ControllerProgram::~ControllerProgram() {
  Stop();
  std::error_code ignored;
  std::filesystem::remove_all(folder_, ignored);
}

bool ControllerProgram::Start(const std::string& arguments) {
  std::string command = "\"" + exe_ + "\" " + arguments;
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info = {};
  // No handles are inherited: the program must not hold any stream of the test runner.
  if (!::CreateProcessA(exe_.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        folder_.c_str(), &startup, &info))
    return false;
  const win::UniqueKernelHandle thread(info.hThread);
  process_.reset(info.hProcess);
  if (const HANDLE job = TestJob()) ::AssignProcessToJobObject(job, process_.get());
  return true;
}

HWND ControllerProgram::StartResident() {
  if (!Start("/noflash")) return nullptr;
  return robot::FindController();
}

int ControllerProgram::WaitForExit(DWORD timeout_ms) {
  if (!process_) return -1;
  if (::WaitForSingleObject(process_.get(), timeout_ms) != WAIT_OBJECT_0) return -1;
  DWORD code = 0;
  ::GetExitCodeProcess(process_.get(), &code);
  process_.reset();
  return static_cast<int>(code);
}

void ControllerProgram::Stop() {
  if (!process_) return;
  if (::WaitForSingleObject(process_.get(), 0) != WAIT_OBJECT_0) {
    const DWORD pid = ::GetProcessId(process_.get());
    // Exit from the menu ends the program; its windows may be several (dialogs), all of one process.
    if (const HWND main = robot::FindController(0)) {
      DWORD owner = 0;
      ::GetWindowThreadProcessId(main, &owner);
      if (owner == pid) ::PostMessageA(main, WM_COMMAND, 57665, 0);
    }
    if (::WaitForSingleObject(process_.get(), 5000) != WAIT_OBJECT_0) {
      ::TerminateProcess(process_.get(), 1);
      ::WaitForSingleObject(process_.get(), 5000);
    }
  }
  process_.reset();
}

Bytes ControllerProgram::ReadActions() const {
  std::ifstream in(ActionsPath(), std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void ControllerProgram::WriteActions(const Bytes& bytes) const {
  std::ofstream out(ActionsPath(), std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

void StopControllerStartedElsewhere() {
  const HWND left = robot::FindController(0);
  if (!left) return;
  DWORD pid = 0;
  ::GetWindowThreadProcessId(left, &pid);
  const win::UniqueKernelHandle process(::OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE, FALSE, pid));
  ::PostMessageA(left, WM_COMMAND, 57665, 0);  // Exit
  if (process && ::WaitForSingleObject(process.get(), 5000) != WAIT_OBJECT_0) ::TerminateProcess(process.get(), 1);
}

void RemoveProductKey() { ::RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\PageHarvest"); }

std::string FileText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool PollFor(const std::function<bool()>& done, DWORD timeout_ms) {
  const DWORD start = ::GetTickCount();
  while (!done()) {
    if (::GetTickCount() - start > timeout_ms) return false;
    ::Sleep(20);
  }
  return true;
}

}  // namespace ph::test
