// What the library's save does with a set of changes to the board just read:
// the library's own decision (SavePlan.h) fed with the values the library
// holds after the read and relayctl's calls of its setters. The plan of
// --check, the changes reported after a write and the values verification
// looks for all come from here, so none can differ from what is written. Pure.
#pragma once

#include <optional>

#include "Status.h"
#include "board/BoardState.h"

namespace relayctl {

struct SaveDecision {
  std::optional<relay::Status> rejected;  // the first value the library refuses (2001..2006): nothing is sent
  Settings written;                       // each value the save writes, as it writes it; nothing else
};

// The save of `changes` (key modes '-' for a key left alone) onto `before`.
SaveDecision DecideSave(const BoardState &before, const Settings &changes);

}  // namespace relayctl
