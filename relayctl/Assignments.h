// The NAME=VALUE arguments of `relayctl set`, turned into a set of changes.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "BoardState.h"

namespace relayctl {

// Names: ip, mask, gateway, dns, server, password (texts, checked by the
// library when saving), keys (eight digits 1..3), key1..key8 (keep, follow,
// jog or 1..3), restore and remote (on/off). Nullopt with `error` set for an
// unknown name, a malformed value, or a name given twice.
std::optional<Settings> ParseAssignments(const std::vector<std::string> &assignments, std::string &error);

}  // namespace relayctl
