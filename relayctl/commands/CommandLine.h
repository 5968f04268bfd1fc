// Pieces of the command line that several subcommands share.
#pragma once

#include <CLI/CLI.hpp>

#include "ProgramLimits.h"
#include "link/BoardWrite.h"

namespace relayctl {

// Rewrites a board address into normal form (NormalBoardAddress) and refuses
// what the rule refuses, naming the text.
CLI::Validator BoardAddress();

// --check, --verify, --wait and --force of the commands that write to boards. The
// options are bound to `options` and `waitSeconds`; WaitMs converts the latter.
struct WriteCommandOptions {
  WriteOptions write;
  double waitSeconds = relay::kVerifyWaitSeconds;
  WriteOptions Resolved() const;
};
void AddWriteOptions(CLI::App &command, WriteCommandOptions &options);

// --json of the commands that write to boards: one JSON object per board
// (ResultJson.h), then a summary object.
void AddJsonResultOption(CLI::App &command, bool &json);

// --parallel of the commands that go through many boards: boards at once,
// from 1 (default kDefaultBoardsAtOnce).
inline constexpr int kDefaultBoardsAtOnce = 1024;
void AddParallelOption(CLI::App &command, int &parallel);

}  // namespace relayctl
