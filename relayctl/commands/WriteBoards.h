// The write commands over many boards (restore --dir, apply): each board's
// read and write in a worker process of its own, several at once, with a
// progress bar and each board's outcome printed as it finishes.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "ExitStatus.h"
#include "link/BoardWrite.h"
#include "platform/Workers.h"

namespace relayctl {

// What a run of WriteBoards did.
struct BoardsWritten {
  ExitStatus overall = kExitDone;  // the highest of the boards' statuses
  std::size_t succeeded = 0;       // boards that ended with kExitDone
  std::size_t started = 0;         // less than all when a stop was requested
};

// Runs the write job `job` (its result an encoded WriteResult) for every
// address, `parallel` boards at once, each in a worker process of its own
// with the request of the address, `options` and `input`, with a progress
// bar; prints each board's line (or with `json` its JSON object) as it
// finishes. Stops starting boards on a stop request.
BoardsWritten WriteBoards(const std::vector<std::string> &addresses, int parallel, bool json, const WorkerJob &job,
                          const WriteOptions &options, const std::string &input);

}  // namespace relayctl
