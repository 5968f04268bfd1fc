// The JSON lines of the commands that write to boards (set, restore, apply
// with --json): one object per board as it finishes, then a summary.
//
//   address      the board's address
//   result       ok, would-change, rejected, failed, not-taken, partly
//   exit_status  the board's exit status (ExitStatus.h)
//   message      what relayctl says of the board
//   changed      something was written (with --check: would be)
//   changes      [{"setting", "before", "after"}]: what the save writes, in
//                the backup's value kinds (on/off as true/false); the
//                password's values are "********"
//   restarted    the board took the restart (not with --check)
//   verified     read back with every value, by its device ID (not with --check)
//
//   {"summary": {"boards", "took", "not_started", "exit_status"}}
#pragma once

#include <cstddef>
#include <string>

#include "board/BoardText.h"
#include "link/BoardWrite.h"

namespace relayctl {

// The password's value wherever a change is shown.
inline constexpr char kMaskedPassword[] = "********";

std::string ResultJson(const std::string &address, const WriteResult &result, const char *word,
                       TextEncoding encoding);

std::string SummaryJson(std::size_t boards, std::size_t took, std::size_t notStarted, ExitStatus status);

}  // namespace relayctl
