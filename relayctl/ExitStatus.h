// Exit statuses that scripts can rely on.
#pragma once

namespace relayctl {

enum ExitStatus : int {
  kExitDone = 0,           // saved, nothing to save, or nothing went wrong
  kExitRejected = 1,       // a value the board or the library refused
  kExitCommunication = 2,  // the board could not be reached or did not answer
  kExitNotVerified = 3,    // read back after the restart, a value had not taken
  kExitPartlyWritten = 4,  // a save stopped after some writes: partly written, not restarted
  kExitUsage = 64,         // bad command line or unreadable input file
  kExitOutput = 74,        // standard output or standard error could not be written
  kExitHangup = 129,       // stopped by SIGHUP (128 + 1)
  kExitInterrupted = 130,  // stopped by SIGINT (128 + 2)
  kExitTerminated = 143,   // stopped by SIGTERM (128 + 15)
};

// The exit status of a library status code: saved done, a rejected value
// rejected, everything else (the communication codes) communication.
ExitStatus ExitStatusOfCode(int code);

// The status of several boards: the highest of theirs.
inline ExitStatus Worse(ExitStatus a, ExitStatus b) { return a > b ? a : b; }

}  // namespace relayctl
