// The board as readable "name  value" lines for `relayctl show`. Pure.
#pragma once

#include <string>

#include "BoardState.h"

namespace relayctl {

// Identity first (address, model, firmware, device ID, capabilities), then
// every setting under the name `relayctl set` takes for it.
std::string ShowText(const BoardState &board);

}  // namespace relayctl
