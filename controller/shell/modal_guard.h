// Keeps the main window's work from being entered twice through a modal loop, and holds "Exit"
// back until no modal loop is running.
#pragma once

#include <functional>
#include <set>

namespace ph {

// Every dialog, chooser and message box runs a modal loop that dispatches the main window's
// messages, so a tray command can arrive while the work that opened it is still under way.
class ModalGuard {
 public:
  // Runs work that opens a modal loop (a save dialog, a message box). False when the program is
  // ending and nothing new is to be started.
  bool RunModal(const std::function<void()>& work);
  // The same for a command that cannot be entered twice: refused (false) while it is running.
  bool RunCommand(int command, const std::function<void()>& work);
  // "Exit": true when the program may end now; otherwise the exit is remembered and end (the
  // caller's way of ending) is called once the last modal loop has returned.
  bool RequestExit(std::function<void()> end);

  bool exit_pending() const { return static_cast<bool>(end_); }

 private:
  int depth_ = 0;
  std::set<int> running_;
  std::function<void()> end_;
};

}  // namespace ph
