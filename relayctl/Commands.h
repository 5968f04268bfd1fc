// The subcommands of relayctl. Each Add...Command registers its subcommand
// with its own options on `app`; when it is chosen, its callback runs it and
// stores the process's exit status in `status`. Commands write data to
// standard output and messages to standard error.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "BackupFile.h"

namespace CLI {
class App;
}

namespace relayctl {

void AddShowCommand(CLI::App &app, int &status);
void AddSetCommand(CLI::App &app, int &status);
void AddBackupCommand(CLI::App &app, int &status);
void AddRestoreCommand(CLI::App &app, int &status);
void AddScanCommand(CLI::App &app, int &status);
void AddApplyCommand(CLI::App &app, int &status);

// "relayctl: " + message on standard error.
void Report(const std::string &message);

// One board's line in the output of commands over many boards: address,
// outcome and message in columns.
std::string BoardLine(const std::string &address, const std::string &outcome, const std::string &message);

// The outcome word of a board's line: ok, rejected, failed, not-taken, partly.
const char *StatusWord(int status);

// Adds the boards of the list file `listPath` (when not empty) to
// `addresses` and leaves each address once, in the order first given. Reports
// and answers false when the list cannot be used.
bool GatherTargets(std::vector<std::string> &addresses, const std::string &listPath);

// Reads and checks a backup file; reports why and gives nullopt when it cannot
// be used.
std::optional<Backup> LoadBackup(const std::string &path);

}  // namespace relayctl
