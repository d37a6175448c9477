// A copy of PageHarvest.exe in a scratch folder, started and ended by a test.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

#include "common/base.h"
#include "platform/win32/unique_handle.h"
#include "tests/support/win32/clipboard_contents.h"

namespace ph::test {

class ControllerProgram {
 public:
  // Copies the program into a fresh scratch folder (so that "actions.dat" lands beside it).
  ControllerProgram();
  ~ControllerProgram();

  // Starts the program with the arguments; false when it could not be started.
  bool Start(const std::string& arguments);
  // Starts the resident program without its splash screen and waits for its main window; null
  // when either failed.
  HWND StartResident();
  // Waits for the started program to end; its exit code, or -1 when it did not end in time.
  int WaitForExit(DWORD timeout_ms = 10000);
  // Ends the program through its Exit command, and kills it when that does not work.
  void Stop();

  const std::string& folder() const { return folder_; }
  const std::string& exe() const { return exe_; }
  std::string ActionsPath() const { return folder_ + "\\actions.dat"; }
  Bytes ReadActions() const;
  void WriteActions(const Bytes& bytes) const;

 private:
  std::string folder_;
  std::string exe_;
  win::UniqueKernelHandle process_;
};

// Ends a controller that the band's link or the host started through the shell, which is no
// ControllerProgram's own process: through its Exit command, killed when that does not end it.
void StopControllerStartedElsewhere();

// The product key of the registry is the program's; tests remove it before and after.
void RemoveProductKey();

// What the program wrote to a whole file (empty when missing); ClipboardText reads the clipboard.
std::string FileText(const std::string& path);

// Waits until done() holds; false after timeout_ms.
bool PollFor(const std::function<bool()>& done, DWORD timeout_ms = 10000);

}  // namespace ph::test
