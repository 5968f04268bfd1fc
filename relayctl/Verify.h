// What a board should hold after a save, and where it differs from what it
// was found to hold when read again. Pure.
#pragma once

#include <string>
#include <vector>

#include "BoardState.h"
#include "BoardText.h"

namespace relayctl {

// The values a save of `changes` onto the board as it was read (`before`)
// leaves on the board, in the form the library writes them: addresses in
// normal form, server and password trimmed, single key modes merged into the
// board's. DNS, server and password are written only while remote control is
// on, so they are left out when it ends up off.
Settings ExpectedAfterSave(const BoardState &before, const Settings &changes);

// The values of `expected` that differ from `before`: what a save writes.
// Values are compared exactly, in the form ExpectedAfterSave gives them, as
// the library compares them.
Settings Differing(const Settings &before, const Settings &expected);

// One value a save writes: the setting's name and its value on the board now
// and after the save, as ValueText gives them.
struct Change {
  std::string setting;
  std::string before, after;
};

// What a save writes to the board read as `before`, given the values
// `expected` (ExpectedAfterSave), in setting order: the plan, and what is
// reported after a write.
std::vector<Change> Changes(const Settings &before, const Settings &expected);

// "gateway 10.0.0.254 -> 10.0.0.1, password (changes)" for a message: the
// password's digits never appear; values Shown for a terminal of `encoding`.
std::string DescribeChanges(const std::vector<Change> &changes, TextEncoding encoding);

struct Difference {
  std::string name;
  std::string wanted;
  std::string found;
};

// Every value of `expected` that `found` does not hold, in setting order.
std::vector<Difference> Compare(const Settings &expected, const Settings &found);

// Of the values a save was to change (those of `expected` that differ from
// `before`), the names of those the board holds now and of those it does not,
// in setting order.
struct WrittenSplit {
  std::vector<std::string> written, unwritten;
};
WrittenSplit SplitWritten(const Settings &before, const Settings &expected, const Settings &now);

// The names of the settings that `changes` change.
std::vector<std::string> ChangedNames(const std::vector<Change> &changes);

// "a, b, c".
std::string Joined(const std::vector<std::string> &names);

// "gateway: wanted 10.0.0.1, board has 10.0.0.254; ..." for a message, the
// values Shown (BoardText.h) for a terminal of `encoding`.
std::string Describe(const std::vector<Difference> &differences, TextEncoding encoding);

}  // namespace relayctl
