#include <csignal>

#include "Interrupt.h"

namespace relayctl {
namespace {

void OnSignal(int signal) { RequestStop(signal == SIGINT ? kExitInterrupted : kExitTerminated); }

}  // namespace

void CatchInterrupts() {
  struct sigaction action {};
  action.sa_handler = OnSignal;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESETHAND;  // no SA_RESTART: waits return early
  sigaction(SIGINT, &action, nullptr);
  sigaction(SIGTERM, &action, nullptr);
  // A write to a closed pipe then fails with EPIPE and is reported like any
  // failed write, instead of ending the process unseen between boards.
  std::signal(SIGPIPE, SIG_IGN);
}

}  // namespace relayctl
