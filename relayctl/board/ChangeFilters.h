// A set of changes held against the setting table: what a board cannot take,
// and what `apply` leaves alone. Pure.
#pragma once

#include <string>
#include <vector>

#include "board/BoardState.h"

namespace relayctl {

// The names of the values in `changes` that a board with `capabilities`
// cannot take, in the order of the setting names.
std::vector<std::string> UnsupportedNames(const Settings &changes, const Capabilities &capabilities);

// `changes` without the network addresses (ip, mask, gateway).
Settings WithoutNetwork(Settings changes);

}  // namespace relayctl
