// apply: one backup, without its network addresses, onto many boards.
#include <cstdio>
#include <iostream>

#include "AddressRange.h"
#include "BackupFile.h"
#include "BoardLink.h"
#include "Commands.h"
#include "Files.h"
#include "Progress.h"

namespace relayctl {
namespace {

const char *StatusWord(ExitStatus status) {
  switch (status) {
    case kExitDone: return "ok";
    case kExitRejected: return "rejected";
    case kExitNotVerified: return "not-taken";
    default: return "failed";
  }
}

WriteResult ApplyTo(const std::string &address, const Settings &changes, const VerifyOptions &verify) {
  Outcome failure;
  const std::optional<BoardState> board = ReadBoard(address, failure);
  if (!board) return {kExitCommunication, failure.message + " (" + std::to_string(failure.code) + ")"};
  return WriteChanges(*board, changes, verify);
}

}  // namespace

int RunApply(const std::string &backupPath, std::vector<std::string> addresses, const std::string &listPath,
             const VerifyOptions &verify) {
  const std::optional<Backup> backup = LoadBackup(backupPath);
  if (!backup) return kExitUsage;
  std::string error;
  if (!listPath.empty()) {
    const std::optional<std::string> list = ReadTextFile(listPath, error);
    const auto listed = list ? ParseAddressList(*list, error) : std::nullopt;
    if (!listed) {
      Report(list ? listPath + ": " + error : error);
      return kExitUsage;
    }
    addresses.insert(addresses.end(), listed->begin(), listed->end());
  }
  if (addresses.empty()) {
    Report("no boards to apply to: give --to ADDRESS... or --to-list FILE");
    return kExitUsage;
  }

  const Settings changes = WithoutNetwork(backup->settings);
  ExitStatus overall = kExitDone;
  std::size_t succeeded = 0;
  std::vector<std::string> lines;
  {
    Progress progress(addresses.size());
    for (std::size_t i = 0; i < addresses.size(); ++i) {
      progress.Show(i, addresses[i]);
      const WriteResult result = ApplyTo(addresses[i], changes, verify);
      overall = Worse(overall, result.status);
      if (result.status == kExitDone) ++succeeded;
      char line[64];
      std::snprintf(line, sizeof line, "%-15s  %-9s  ", addresses[i].c_str(), StatusWord(result.status));
      lines.push_back(line + result.message);
    }
    progress.Show(addresses.size());
  }
  for (const std::string &line : lines) std::cout << line << "\n";
  std::cout << std::flush;
  Report(std::to_string(succeeded) + " of " + std::to_string(addresses.size()) + " boards took " + backupPath);
  return overall;
}

}  // namespace relayctl
