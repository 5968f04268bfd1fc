// Limits that relayctl and both relaytool windows share, each defined once.
#pragma once

#include <cstddef>

#include "BoardSettings.h"

namespace relay {

// The longest server name the windows' edit takes and relayctl writes
// without --force: the board keeps no more.
inline constexpr std::size_t kMaxServerNameLength = Setting("server").length;

// How long relayctl waits for a restarted board to answer again before it
// verifies it, unless told otherwise (--wait).
inline constexpr int kVerifyWaitSeconds = 20;

}  // namespace relay
