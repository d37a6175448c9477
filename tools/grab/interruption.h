// Ctrl-C and SIGTERM during a run: they are noted, grab finishes or undoes the page in hand, says what
// was done and ends with the signal's exit status.
#pragma once

#include <csignal>

namespace ph::grab {

// While it lives, SIGINT and SIGTERM only note the signal (one the caller ignores, as a background
// job's SIGINT, stays ignored); then they are put back as they were.
class CatchInterruptions {
 public:
  CatchInterruptions();
  ~CatchInterruptions();
  CatchInterruptions(const CatchInterruptions&) = delete;
  CatchInterruptions& operator=(const CatchInterruptions&) = delete;
};

// The signal noted, or 0.
int Interruption();
// Set by the signal: the stop flag of the waits for the browser, which end at once.
const volatile std::sig_atomic_t* InterruptionFlag();
// The status a shell gives a program the signal ended: 130 for SIGINT, 143 for SIGTERM.
inline int InterruptedStatus() { return 128 + Interruption(); }

}  // namespace ph::grab
