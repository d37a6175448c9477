// PageHarvestHost.exe started as a browser starts it, its standard streams on pipes of the test.
#pragma once

#include <windows.h>

#include <condition_variable>
#include <deque>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

#include "platform/win32/unique_handle.h"

namespace ph::test {

class HostProcess {
 public:
  HostProcess() = default;
  // Closes the host's input and kills it when it does not end by itself soon after.
  ~HostProcess();
  HostProcess(const HostProcess&) = delete;
  HostProcess& operator=(const HostProcess&) = delete;

  // Starts the program with the command line's arguments; false when it could not be started.
  bool Start(const std::string& program, const std::string& arguments);
  // Writes raw bytes to the host's input (a framed message, or anything a test makes of one).
  bool Write(const std::string& bytes);
  // One message framed as the browser frames it: the length in the machine's byte order, the JSON.
  bool Send(const std::string& json) { return Write(Frame(json)); }
  // The next message the host wrote; nothing when it closed its output or none came in time.
  std::optional<std::string> Receive(DWORD timeout_ms = 10000);
  void CloseInput() { input_.reset(); }
  // The exit code, or -1 when the host did not end in time.
  int WaitForExit(DWORD timeout_ms = 10000);
  // What the host wrote on its standard error so far.
  std::string Errors();

  static std::string Frame(const std::string& json);

 private:
  void ReadMessages();
  void ReadErrors();

  win::UniqueKernelHandle process_, input_, output_, errors_;
  std::thread message_reader_, error_reader_;
  std::mutex mutex_;
  std::condition_variable arrived_;
  std::deque<std::string> messages_;
  bool output_closed_ = false;
  std::string error_text_;
};

}  // namespace ph::test
