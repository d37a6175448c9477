// Keeps the main window's work from being entered twice through a modal loop, and holds "Exit"
// back until no modal loop is running.
#include "controller/shell/modal_guard.h"

namespace ph {

bool ModalGuard::RunModal(const std::function<void()>& work) {
  if (end_) return false;
  ++depth_;
  struct Leave {
    ModalGuard& guard;
    ~Leave() {
      if (--guard.depth_ == 0 && guard.end_) {
        const std::function<void()> end = std::move(guard.end_);
        end();
      }
    }
  } leave{*this};
  work();
  return true;
}

bool ModalGuard::RunCommand(int command, const std::function<void()>& work) {
  if (end_ || !running_.insert(command).second) return false;
  struct Done {
    std::set<int>& running;
    int command;
    ~Done() { running.erase(command); }
  } done{running_, command};
  return RunModal(work);
}

bool ModalGuard::RequestExit(std::function<void()> end) {
  if (depth_ == 0) return true;
  end_ = std::move(end);
  return false;
}

}  // namespace ph
