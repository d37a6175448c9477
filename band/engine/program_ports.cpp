// Timers that fire when the program asks.
#include "band/engine/program_ports.h"

#include <algorithm>

#include "band/engine/selection_engine.h"

namespace ph {

void ImmediateTimers::Stop(int timer_id) {
  pending_.erase(std::remove(pending_.begin(), pending_.end(), timer_id), pending_.end());
}

void ImmediateTimers::Fire(SelectionEngine& engine) {
  while (!pending_.empty()) {
    const int id = pending_.front();
    pending_.erase(pending_.begin());
    engine.OnTimer(id);
  }
}

}  // namespace ph
