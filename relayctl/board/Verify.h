// What a board should hold after a save, and where it differs from what it
// was found to hold when read again. Pure.
#pragma once

#include <string>
#include <vector>

#include "board/BoardState.h"
#include "board/BoardText.h"

namespace relayctl {

// The values of `expected` that differ from `before`, compared exactly.
Settings Differing(const Settings &before, const Settings &expected);

// One value a save writes: the setting's name and its value on the board now
// and after the save, as ValueText gives them.
struct Change {
  std::string setting;
  std::string before, after;
};

// The values of `expected` that differ from `before` as changes, in setting
// order: with the values a save writes (SaveDecision.h), the plan and what
// is reported after a write.
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
