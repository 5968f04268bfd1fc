// The board as readable "name  value" lines for `relayctl show`. Pure.
#pragma once

#include <string>

#include "board/BoardState.h"
#include "board/BoardText.h"

namespace relayctl {

// Identity first (address, model, firmware, device ID, capabilities), then
// every setting under the name `relayctl set` takes for it; the board's texts
// Shown for a terminal of `encoding` (BoardText.h).
std::string ShowText(const BoardState &board, TextEncoding encoding);

}  // namespace relayctl
