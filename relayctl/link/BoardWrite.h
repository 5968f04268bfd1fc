// The shared end of set, restore and apply: hand changes to a board that has
// just been read, save, and optionally read it back after its restart.
#pragma once

#include <string>

#include "DeviceContext.h"
#include "ExitStatus.h"
#include "ProgramLimits.h"
#include "board/BoardState.h"
#include "board/Verify.h"

namespace relayctl {

struct WriteOptions {
  bool check = false;  // plan only: read, tell what would change, write nothing
  bool verify = false;
  int waitMs = relay::kVerifyWaitSeconds * 1000;  // for the board to answer again after its restart
  bool force = false;  // write settings the guards refuse, and onto an address taken by another board
};

struct WriteResult {
  WriteResult() = default;
  WriteResult(ExitStatus status, std::string message) : status(status), message(std::move(message)) {}

  ExitStatus status = kExitDone;
  std::string message;          // the library's message, and what relayctl found out
  std::vector<Change> changes;  // what the save writes (a plan: would write); empty when refused
  bool changed = false;         // something was written (a plan: would be)
  bool planned = false;         // a plan (--check): restarted and verified do not apply
  bool restarted = false;       // the board took the restart
  bool verified = false;        // read back after the restart with every value, by its device ID
};

// Refuses before anything is sent: changes the board cannot take and, unless
// forced, settings the board would be unusable with (Guards.h) and a new ip
// where another board already answers. With check, then only tells what a
// save would write (kExitWouldChange, or kExitDone when nothing) or which
// value the library would reject. Otherwise saves the changes; when the save
// stops after some writes, reads the board again and tells which values it
// holds (kExitPartlyWritten). With verify, waits for the board at its new or
// old address and compares what it holds with what was written; a stop
// request ends the wait with the stop's status (InterruptedStatus).
// `context` is the one that read `before`, last.
relay::Task<WriteResult> WriteChanges(relay::DeviceContext &context, const BoardState &before, const Settings &changes,
                                      const WriteOptions &options);

}  // namespace relayctl
