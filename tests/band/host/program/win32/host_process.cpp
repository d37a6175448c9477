// Starting the native host on pipes, and reading its framed messages and its errors on threads.
#include "tests/band/host/program/win32/host_process.h"

#include <cstdint>
#include <cstring>

namespace ph::test {
namespace {

// Reads exactly size bytes; false at the end of the pipe.
bool ReadExactly(HANDLE pipe, char* into, std::size_t size) {
  while (size > 0) {
    DWORD got = 0;
    if (!::ReadFile(pipe, into, static_cast<DWORD>(size), &got, nullptr) || got == 0) return false;
    into += got;
    size -= got;
  }
  return true;
}

// A pipe whose one end the child inherits and the other this process keeps.
bool MakePipe(win::UniqueKernelHandle* read, win::UniqueKernelHandle* write, bool child_reads) {
  SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
  if (!::CreatePipe(read->put(), write->put(), &inherit, 0)) return false;
  return ::SetHandleInformation(child_reads ? write->get() : read->get(), HANDLE_FLAG_INHERIT, 0);
}

}  // namespace

HostProcess::~HostProcess() {
  CloseInput();
  if (process_ && ::WaitForSingleObject(process_.get(), 5000) != WAIT_OBJECT_0)
    ::TerminateProcess(process_.get(), 1);
  if (message_reader_.joinable()) message_reader_.join();
  if (error_reader_.joinable()) error_reader_.join();
}

std::string HostProcess::Frame(const std::string& json) {
  const auto length = static_cast<std::uint32_t>(json.size());
  std::string framed(sizeof length, '\0');
  std::memcpy(framed.data(), &length, sizeof length);
  return framed + json;
}

bool HostProcess::Start(const std::string& program, const std::string& arguments) {
  win::UniqueKernelHandle child_input, child_output, child_errors;
  if (!MakePipe(&child_input, &input_, true) || !MakePipe(&output_, &child_output, false) ||
      !MakePipe(&errors_, &child_errors, false))
    return false;
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = child_input.get();
  startup.hStdOutput = child_output.get();
  startup.hStdError = child_errors.get();
  std::string line = "\"" + program + "\" " + arguments;
  PROCESS_INFORMATION info = {};
  if (!::CreateProcessA(nullptr, line.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr, nullptr,
                        &startup, &info))
    return false;
  process_.reset(info.hProcess);
  const win::UniqueKernelHandle thread(info.hThread);
  // The child's ends close here, so that the pipes end when the host does.
  message_reader_ = std::thread([this] { ReadMessages(); });
  error_reader_ = std::thread([this] { ReadErrors(); });
  return true;
}

bool HostProcess::Write(const std::string& bytes) {
  DWORD written = 0;
  return input_ && ::WriteFile(input_.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
         written == bytes.size();
}

void HostProcess::ReadMessages() {
  for (;;) {
    std::uint32_t length = 0;
    std::string message;
    if (!ReadExactly(output_.get(), reinterpret_cast<char*>(&length), sizeof length)) break;
    message.resize(length);
    if (!ReadExactly(output_.get(), message.data(), length)) break;
    const std::lock_guard<std::mutex> lock(mutex_);
    messages_.push_back(std::move(message));
    arrived_.notify_all();
  }
  const std::lock_guard<std::mutex> lock(mutex_);
  output_closed_ = true;
  arrived_.notify_all();
}

void HostProcess::ReadErrors() {
  char chunk[512];
  DWORD got = 0;
  while (::ReadFile(errors_.get(), chunk, sizeof chunk, &got, nullptr) && got > 0) {
    const std::lock_guard<std::mutex> lock(mutex_);
    error_text_.append(chunk, got);
  }
}

std::optional<std::string> HostProcess::Receive(DWORD timeout_ms) {
  std::unique_lock<std::mutex> lock(mutex_);
  arrived_.wait_for(lock, std::chrono::milliseconds(timeout_ms),
                    [this] { return !messages_.empty() || output_closed_; });
  if (messages_.empty()) return std::nullopt;
  std::string message = std::move(messages_.front());
  messages_.pop_front();
  return message;
}

int HostProcess::WaitForExit(DWORD timeout_ms) {
  if (!process_ || ::WaitForSingleObject(process_.get(), timeout_ms) != WAIT_OBJECT_0) return -1;
  DWORD code = 0;
  ::GetExitCodeProcess(process_.get(), &code);
  if (error_reader_.joinable()) error_reader_.join();
  return static_cast<int>(code);
}

std::string HostProcess::Errors() {
  const std::lock_guard<std::mutex> lock(mutex_);
  return error_text_;
}

}  // namespace ph::test
