// The write commands over many boards (restore --dir, apply): every board's
// read and write in this one process, each board on a library context of
// its own driven by a FleetEngine, with a progress bar and each board's
// outcome printed as it finishes.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "DeviceContext.h"
#include "ExitStatus.h"
#include "link/BoardLink.h"
#include "link/BoardWrite.h"

namespace relayctl {

// One board's work on its own context: read the board at the address and
// write to it, giving the result.
using BoardJob = std::function<relay::Task<WriteResult>(relay::DeviceContext &context, const std::string &address)>;

// What a run of WriteBoards did.
struct BoardsWritten {
  ExitStatus overall = kExitDone;  // the highest of the boards' statuses
  std::size_t succeeded = 0;       // boards that ended with kExitDone
  std::size_t started = 0;         // less than all when a stop was requested
};

// Runs `job` for every address, `parallel` boards at once, with a progress
// bar; prints each board's line (or with `json` its JSON object) as it
// finishes, as a plan when `check`. Stops starting boards on a stop request.
BoardsWritten WriteBoards(const std::vector<std::string> &addresses, int parallel, bool json, bool check,
                          const BoardJob &job);

// The same for one board (set, restore): the job's result.
WriteResult WriteBoard(const std::string &address, const BoardJob &job);

// The result for a board that could not be read.
WriteResult NotRead(const Outcome &failure);

}  // namespace relayctl
