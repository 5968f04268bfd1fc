// What a command reads from the files named on its command line, checked,
// with any trouble reported on standard error: the boards to work on and a
// backup file.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "io/BackupFile.h"

namespace relayctl {

// Adds the boards of the list file `listPath` (when not empty) to
// `addresses` and leaves each address once, in the order first given. Reports
// and answers false when the list cannot be used.
bool GatherTargets(std::vector<std::string> &addresses, const std::string &listPath);

// Reads and checks a backup file; reports why and gives nullopt when it cannot
// be used.
std::optional<Backup> LoadBackup(const std::string &path);

}  // namespace relayctl
