#include <csignal>

#include "platform/Interrupt.h"

namespace relayctl {
namespace {

void OnSignal(int signal) {
  RequestStop(signal == SIGINT ? kExitInterrupted : signal == SIGHUP ? kExitHangup : kExitTerminated);
}

// Installs `action` for `signal` unless the signal was ignored when the
// process started (nohup, a background job of a script): it stays ignored.
void CatchUnlessIgnored(int signal, const struct sigaction &action) {
  struct sigaction before {};
  sigaction(signal, nullptr, &before);
  if (before.sa_handler != SIG_IGN) sigaction(signal, &action, nullptr);
}

}  // namespace

void CatchInterrupts() {
  struct sigaction action {};
  action.sa_handler = OnSignal;
  sigemptyset(&action.sa_mask);
  // No SA_RESTART: waits return early. A hangup may come more than once as a
  // session ends (from the terminal and from the shell), so it never ends the
  // process at once; a second SIGINT or SIGTERM does.
  CatchUnlessIgnored(SIGHUP, action);
  action.sa_flags = SA_RESETHAND;
  CatchUnlessIgnored(SIGINT, action);
  CatchUnlessIgnored(SIGTERM, action);
  // A write to a closed pipe then fails with EPIPE and is reported like any
  // failed write, instead of ending the process unseen between boards.
  std::signal(SIGPIPE, SIG_IGN);
}

}  // namespace relayctl
