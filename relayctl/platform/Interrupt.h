// A stop request: SIGINT, SIGTERM and SIGHUP on POSIX, Ctrl-C and Ctrl-Break
// (or the console window closing) on Windows. The board in progress is
// finished and nothing new is started. A second SIGINT or SIGTERM (Ctrl-C or
// Ctrl-Break) ends the process at once; SIGHUP never does.
#pragma once

#include "ExitStatus.h"

namespace relayctl {

// Installs the handlers; the worker processes that are forks inherit them.
// On POSIX blocking calls then return early with EINTR where they can; the
// library's own waits resume and stay within their bounds. A signal ignored
// when the process started stays ignored, and SIGPIPE is ignored, so that a
// write to a closed pipe fails instead of ending the process.
void CatchInterrupts();

// Whether a stop has been requested.
bool Interrupted();

// kExitInterrupted (SIGINT, Ctrl-C), kExitTerminated (SIGTERM, Ctrl-Break,
// the console closing) or kExitHangup (SIGHUP) after a stop request, else
// `status`.
ExitStatus InterruptedStatus(ExitStatus status);

// Records a stop request with the status it ends the process with; called
// by the platform's handler, safe in a signal handler.
void RequestStop(ExitStatus stopStatus);

}  // namespace relayctl
