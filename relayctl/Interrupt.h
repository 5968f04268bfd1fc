// A stop request: SIGINT and SIGTERM on POSIX, Ctrl-C and Ctrl-Break (or the
// console window closing) on Windows. The board in progress is finished and
// nothing new is started. A second request of the same kind ends the process
// at once.
#pragma once

#include "ExitStatus.h"

namespace relayctl {

// Installs the handlers. On POSIX blocking calls then return early with
// EINTR where they can; the library's own waits resume and stay within their
// bounds. SIGPIPE is ignored, so that a write to a closed pipe fails instead
// of ending the process.
void CatchInterrupts();

// Whether a stop has been requested.
bool Interrupted();

// kExitInterrupted (SIGINT, Ctrl-C) or kExitTerminated (SIGTERM, Ctrl-Break,
// the console closing) after a stop request, else `status`.
ExitStatus InterruptedStatus(ExitStatus status);

// Records a stop request with the status it ends the process with; called
// by the platform's handler, safe in a signal handler.
void RequestStop(ExitStatus stopStatus);

}  // namespace relayctl
