// One board through the relaylink library's per-board context: read it, hand
// it changes and save, and wait for it to come back after a restart. Each is
// a step of the context's driver (FleetEngine), so that one thread serves
// many boards.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "DeviceContext.h"
#include "board/BoardState.h"

namespace relayctl {

// A status code of the library and its message.
struct Outcome {
  int code = 0;
  std::string message;
  bool completed = false;  // the save succeeded (SaveDeviceCfg would answer 1)
};

// A read: the board, or nullopt and the library's status in `failure`.
struct BoardRead {
  std::optional<BoardState> board;
  Outcome failure;
};

// Reads the board at `address` into `context`; the board as the library's
// getters give it.
relay::Task<BoardRead> ReadBoard(relay::DeviceContext &context, std::string address);

// ReadBoard on a context of its own (with `flushArpCache`, see
// DeviceContext), for a read and nothing more.
relay::Task<BoardRead> ReadOnOwnContext(relay::StepDriver *driver, std::string address, bool flushArpCache);

// The same for one board, run to its end (RunAlone); for commands on one board.
BoardRead ReadAlone(const std::string &address);

// Hands `changes` to the context's pending values as the library's setters
// do and saves; the board must be the one `context` read last. Returns the
// library's status (see ExitStatusOfCode).
relay::Task<Outcome> SaveChanges(relay::DeviceContext &context, const Settings &changes);

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
relay::Task<WaitOutcome> WaitForBoard(relay::DeviceContext &context, const std::vector<std::string> &addresses,
                                      int waitMs, const std::string &deviceId, std::vector<std::string> &others);

// The board that answers at `address` ("RB... (remote control)" or
// "a keys board"), found with a short probe in a context of its own;
// nullopt when nothing there answers as a board.
relay::Task<std::optional<std::string>> BoardAnsweringAt(relay::StepDriver *driver, std::string address);

}  // namespace relayctl
