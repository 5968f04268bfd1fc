// The NAME=VALUE arguments of `relayctl set` (and the lines of its --from
// file), turned into a set of changes.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "board/BoardState.h"
#include "board/BoardText.h"

namespace relayctl {

// What the names are and which values they take, for help and messages.
std::string AssignmentHelp();

// The assignments of a --from file: one a line, a CR before the line end
// dropped, empty lines skipped. Nullopt with `error` naming the first line
// without NAME= (by number only: a file may hold the password).
std::optional<std::vector<std::string>> AssignmentLines(const std::string &text, std::string &error);

// Names: those of the setting table, and key1..key8 for one key's mode.
// Addresses, server and password are texts checked before saving, taken as
// typed on a terminal of `encoding` (BoardText.h). Nullopt with `error` set
// for an unknown name, a malformed value, a text that names no board bytes,
// or a name given twice. Messages never hold a value.
std::optional<Settings> ParseAssignments(const std::vector<std::string> &assignments, TextEncoding encoding,
                                         std::string &error);

}  // namespace relayctl
