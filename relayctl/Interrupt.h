// SIGINT and SIGTERM as a request to stop: the board in progress is finished
// and nothing new is started. A second signal of the same kind ends the
// process at once.
#pragma once

#include "ExitStatus.h"

namespace relayctl {

// Installs the handlers. Blocking calls then return early with EINTR where
// they can; the library's own waits resume and stay within their bounds.
void CatchInterrupts();

// Whether a stop has been requested.
bool Interrupted();

// kExitInterrupted or kExitTerminated after a stop request, else `status`.
ExitStatus InterruptedStatus(ExitStatus status);

}  // namespace relayctl
