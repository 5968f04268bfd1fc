// Exit statuses that scripts can rely on.
#pragma once

namespace relayctl {

enum ExitStatus : int {
  kExitDone = 0,           // saved, nothing to save, or nothing went wrong
  kExitRejected = 1,       // a value the board or the library refused
  kExitCommunication = 2,  // the board could not be reached or did not answer
  kExitNotVerified = 3,    // read back after the restart, a value had not taken
  kExitPartlyWritten = 4,  // a save stopped after some writes: partly written, not restarted
  kExitWouldChange = 5,    // --check: something would change (nothing was written)
  kExitUsage = 64,         // bad command line or unreadable input file
  kExitOutput = 74,        // standard output or standard error could not be written
  kExitHangup = 129,       // stopped by SIGHUP (128 + 1)
  kExitInterrupted = 130,  // stopped by SIGINT (128 + 2)
  kExitTerminated = 143,   // stopped by SIGTERM (128 + 15)
};

// The exit status of a library status code: saved done, a rejected value
// rejected, everything else (the communication codes) communication.
ExitStatus ExitStatusOfCode(int code);

// The status of several boards: the highest of theirs, where "would change"
// ranks above done and below every failure.
inline ExitStatus Worse(ExitStatus a, ExitStatus b) {
  const auto rank = [](ExitStatus status) {
    return status == kExitWouldChange ? 1 : status == kExitDone ? 0 : static_cast<int>(status) + 1;
  };
  return rank(a) >= rank(b) ? a : b;
}

}  // namespace relayctl
