#include "Interrupt.h"

#include <csignal>

namespace relayctl {
namespace {

volatile std::sig_atomic_t stopSignal = 0;

void RequestStop(int signal) { stopSignal = signal; }

}  // namespace

void CatchInterrupts() {
  struct sigaction action {};
  action.sa_handler = RequestStop;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESETHAND;  // no SA_RESTART: waits return early
  sigaction(SIGINT, &action, nullptr);
  sigaction(SIGTERM, &action, nullptr);
}

bool Interrupted() { return stopSignal != 0; }

ExitStatus InterruptedStatus(ExitStatus status) {
  if (stopSignal == SIGINT) return kExitInterrupted;
  if (stopSignal == SIGTERM) return kExitTerminated;
  return status;
}

}  // namespace relayctl
