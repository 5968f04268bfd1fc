// One board through the relaylink library: read it, hand it changes and save,
// and wait for it to come back after a restart.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "board/BoardState.h"

namespace relayctl {

// A status code of the library and its message.
struct Outcome {
  int code = 0;
  std::string message;
  bool completed = false;  // SaveDeviceCfg answered 1
};

// Reads the board at `address`. On failure, nullopt and the library's status
// in `failure`. Blocks on the network.
std::optional<BoardState> ReadBoard(const std::string &address, Outcome &failure);

// Hands `changes` to the library's setters and saves; the board must be the
// one read last. Returns the library's status (see ExitStatusOfCode).
Outcome SaveChanges(const Settings &changes);

// How a wait for a restarted board ended: the board when it answered, else
// whether a stop request ended the wait and after how many milliseconds.
struct WaitOutcome {
  std::optional<BoardState> board;
  bool stopped = false;
  int waitedMs = 0;
};

// Reads the board again after a restart, trying each of `addresses` in turn
// until the board answers or `waitMs` have passed (a try that has begun is
// finished) or a stop is requested. With an `deviceId`, only a board of that
// ID counts; others that answer are named in `others`.
WaitOutcome WaitForBoard(const std::vector<std::string> &addresses, int waitMs, const std::string &deviceId,
                         std::vector<std::string> &others);

// The board that answers at `address` ("RB... (remote control)" or
// "a keys board"), found with a short probe that leaves the library's state
// alone; nullopt when nothing there answers as a board.
std::optional<std::string> BoardAnsweringAt(const std::string &address);

}  // namespace relayctl
