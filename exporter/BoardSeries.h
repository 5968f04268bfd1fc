// What a probe says about one board. Pure.
#pragma once

#include <optional>
#include <string>

#include "board/BoardState.h"
#include "link/BoardWrite.h"

namespace relay_exporter {

// The series of a board that answered: its info (model, device ID,
// firmware), restore, remote control and key modes as far as the board has
// them, and with `plan` (the plan of `relayctl apply --check` of the
// module's desired state) whether each setting that apply writes differs and
// whether the board is in sync. The password is never among them.
std::string BoardSeries(const relayctl::BoardState &board, const std::optional<relayctl::WriteResult> &plan);

// A probe's whole answer: relay_board_up, relay_probe_duration_seconds and,
// when the board answered, its series.
std::string ProbeExposition(const std::optional<std::string> &boardSeries, double seconds);

}  // namespace relay_exporter
