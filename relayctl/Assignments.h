// The NAME=VALUE arguments of `relayctl set`, turned into a set of changes.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "BoardState.h"
#include "BoardText.h"

namespace relayctl {

// What the names are and which values they take, for help and messages.
std::string AssignmentHelp();

// Names: those of the setting table, and key1..key8 for one key's mode.
// Addresses, server and password are texts checked before saving, taken as
// typed on a terminal of `encoding` (BoardText.h). Nullopt with `error` set
// for an unknown name, a malformed value, a text that names no board bytes,
// or a name given twice.
std::optional<Settings> ParseAssignments(const std::vector<std::string> &assignments, TextEncoding encoding,
                                         std::string &error);

}  // namespace relayctl
