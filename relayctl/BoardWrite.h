// The shared end of set, restore and apply: hand changes to a board that has
// just been read, save, and optionally read it back after its restart.
#pragma once

#include <string>

#include "BoardState.h"
#include "ExitStatus.h"

namespace relayctl {

struct VerifyOptions {
  bool verify = false;
  int waitMs = 20000;  // for the board to answer again after its restart
};

struct WriteResult {
  ExitStatus status = kExitDone;
  std::string message;  // the library's message, and what verification found
};

// Refuses changes the board cannot take before anything is sent; otherwise
// saves them and, with verify, waits for the board at its new or old address
// and compares what it holds with what was written.
WriteResult WriteChanges(const BoardState &before, const Settings &changes, const VerifyOptions &options);

}  // namespace relayctl
