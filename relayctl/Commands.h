// The subcommands of relayctl. Each returns the process's exit status, writes
// data to standard output and messages to standard error.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "BackupFile.h"
#include "BoardWrite.h"
#include "Prober.h"

namespace relayctl {

int RunShow(const std::string &address, bool json);
int RunBackup(const std::string &address, std::string outputPath);

int RunSet(const std::string &address, const std::vector<std::string> &assignments, const VerifyOptions &verify);
// `otherBoard` allows a backup of one board onto a board with another device ID.
int RunRestore(const std::string &address, const std::string &backupPath, bool otherBoard,
               const VerifyOptions &verify);

int RunScan(const std::string &range, const ProbeOptions &options, bool json);

// Targets from `addresses` and, when not empty, the list file `listPath`.
int RunApply(const std::string &backupPath, std::vector<std::string> addresses, const std::string &listPath,
             const VerifyOptions &verify);

// "relayctl: " + message on standard error.
void Report(const std::string &message);

// Reads and checks a backup file; reports why and gives nullopt when it cannot
// be used.
std::optional<Backup> LoadBackup(const std::string &path);

}  // namespace relayctl
