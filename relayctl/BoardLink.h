// One board through the relaylink library: read it, hand it changes and save,
// and wait for it to come back after a restart.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "BoardState.h"

namespace relayctl {

// A status code of the library and its message.
struct Outcome {
  int code = 0;
  std::string message;
};

// Reads the board at `address`. On failure, nullopt and the library's status
// in `failure`. Blocks on the network.
std::optional<BoardState> ReadBoard(const std::string &address, Outcome &failure);

// Hands `changes` to the library's setters and saves; the board must be the
// one read last. Returns the library's status (see ExitStatusOfCode).
Outcome SaveChanges(const Settings &changes);

// Reads the board again after a restart, trying each of `addresses` in turn
// until one answers or `waitMs` have passed (a try that has begun is finished).
std::optional<BoardState> WaitForBoard(const std::vector<std::string> &addresses, int waitMs);

}  // namespace relayctl
