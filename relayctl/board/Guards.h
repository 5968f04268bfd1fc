// Settings a board could not be reached with after its restart: checked
// before anything is sent. Pure.
#pragma once

#include <string>
#include <vector>

#include "ProgramLimits.h"
#include "board/BoardState.h"

namespace relayctl {

// Why the board, read as `before`, would be unusable with the values
// `expected` of a save (in the form the library writes them): an ip of
// 0.0.0.0 or 255.255.255.255, a multicast ip, a loopback ip on a board not
// itself on loopback, a mask whose ones are not contiguous, an ip that is the
// network or broadcast address of its mask, a gateway outside the ip's
// subnet (0.0.0.0 means none), a server name longer than
// relay::kMaxServerNameLength.
// Only values that a save writes count (Differing): a value the board holds
// already is never refused. The network checks apply to the resulting ip,
// mask and gateway whenever one of them changes. Values that are not
// addresses are left to the library.
std::vector<std::string> UnusableSettings(const BoardState &before, const Settings &expected);

}  // namespace relayctl
