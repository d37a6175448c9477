// Noting Ctrl-C and SIGTERM instead of dying of them.
#include "tools/grab/interruption.h"

#include <signal.h>

#include <utility>

namespace ph::grab {
namespace {

volatile std::sig_atomic_t g_signal = 0;
struct sigaction g_old_int, g_old_term;

void OnSignal(int signal) { g_signal = signal; }

}  // namespace

CatchInterruptions::CatchInterruptions() {
  struct sigaction action {};
  action.sa_handler = OnSignal;
  sigemptyset(&action.sa_mask);
  // No SA_RESTART: a wait for the browser wakes up at once.
  action.sa_flags = 0;
  for (auto [signal, old] : {std::pair{SIGINT, &g_old_int}, std::pair{SIGTERM, &g_old_term}}) {
    ::sigaction(signal, nullptr, old);
    if (old->sa_handler != SIG_IGN) ::sigaction(signal, &action, nullptr);
  }
}

CatchInterruptions::~CatchInterruptions() {
  ::sigaction(SIGINT, &g_old_int, nullptr);
  ::sigaction(SIGTERM, &g_old_term, nullptr);
}

int Interruption() { return g_signal; }

const volatile std::sig_atomic_t* InterruptionFlag() { return &g_signal; }

}  // namespace ph::grab
