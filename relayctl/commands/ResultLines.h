// The outcome of each board in the output of commands over many boards: a
// line of address, outcome and message in columns, or with --json the
// board's JSON object (ResultJson.h).
#pragma once

#include <string>

#include "link/BoardWrite.h"

namespace relayctl {

// One board's line: address, outcome and message in columns.
std::string BoardLine(const std::string &address, const std::string &outcome, const std::string &message);

// The outcome word of a board's line: ok, would-change, rejected, failed,
// not-taken, partly, stopped (a stop request cut its verification short).
const char *StatusWord(int status);

// A board's outcome on standard output: its line (BoardLine), or with `json`
// its JSON object (ResultJson.h).
void PrintResult(const std::string &address, const WriteResult &result, bool json);

}  // namespace relayctl
