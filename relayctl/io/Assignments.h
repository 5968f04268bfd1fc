// The NAME=VALUE arguments of `relayctl set` (and the lines of its --from
// file), turned into a set of changes.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "board/BoardState.h"
#include "board/BoardText.h"

namespace relayctl {

// What the names are and which values they take, for help and messages.
std::string AssignmentHelp();

// One assignment of a --from file and the number of its line.
struct AssignmentLine {
  std::size_t number;
  std::string text;
};

// The assignments of a --from file: one a line, a CR before the LF dropped,
// empty lines skipped, a UTF-8 byte-order mark at the start taken as nothing.
// Nullopt with `error` naming the first line without NAME= or with a CR of
// its own (a file of CR-only line ends), by number only: a file may hold the
// password.
std::optional<std::vector<AssignmentLine>> AssignmentLines(const std::string &text, std::string &error);

// Names: those of the setting table, and key1..key8 for one key's mode.
// Addresses, server and password are texts checked before saving, taken as
// typed on a terminal of `encoding` (BoardText.h). Nullopt with `error` set
// for an unknown name, a malformed value, a text that names no board bytes,
// or a name given twice, and `refused` (when given) the index of the
// assignment at fault. Messages never hold a value.
std::optional<Settings> ParseAssignments(const std::vector<std::string> &assignments, TextEncoding encoding,
                                         std::string &error, std::size_t *refused = nullptr);

}  // namespace relayctl
