#include "commands/ResultLines.h"

#include <cstdio>
#include <iostream>

#include "ExitStatus.h"
#include "board/BoardText.h"
#include "commands/ResultJson.h"
#include "platform/Terminal.h"

namespace relayctl {

std::string BoardLine(const std::string &address, const std::string &outcome, const std::string &message) {
  char line[64];
  std::snprintf(line, sizeof line, "%-15s  %-9s  ", address.c_str(), outcome.c_str());
  return line + Printable(message, TerminalEncoding());
}

const char *StatusWord(int status) {
  switch (status) {
    case kExitDone: return "ok";
    case kExitWouldChange: return "would-change";
    case kExitRejected: return "rejected";
    case kExitNotVerified: return "not-taken";
    case kExitPartlyWritten: return "partly";
    case kExitHangup:
    case kExitInterrupted:
    case kExitTerminated: return "stopped";
    default: return "failed";
  }
}

void PrintResult(const std::string &address, const WriteResult &result, bool json) {
  const char *word = StatusWord(result.status);
  std::cout << (json ? ResultJson(address, result, word, TerminalEncoding()) : BoardLine(address, word, result.message))
            << std::endl;
}

}  // namespace relayctl
