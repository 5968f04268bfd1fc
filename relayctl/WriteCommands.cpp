// set and restore: change one board.
#include "Assignments.h"
#include "BackupFile.h"
#include "BoardLink.h"
#include "Commands.h"
#include "Files.h"

namespace relayctl {
namespace {

// Reads the board, writes `changes` and reports the outcome.
int ReadAndWrite(const std::string &address, const Settings &changes, const std::string &expectedId,
                 const VerifyOptions &verify) {
  Outcome failure;
  const std::optional<BoardState> board = ReadBoard(address, failure);
  if (!board) {
    Report(address + ": " + failure.message + " (" + std::to_string(failure.code) + ")");
    return kExitCommunication;
  }
  if (!expectedId.empty() && expectedId != board->deviceId) {
    Report(address + ": refused, nothing sent: the backup is of board " + expectedId + ", this board is " +
           (board->deviceId.empty() ? "without a device ID" : board->deviceId) +
           " (--other-board restores it anyway)");
    return kExitRejected;
  }
  const WriteResult result = WriteChanges(*board, changes, verify);
  Report(address + ": " + result.message);
  return result.status;
}

}  // namespace

int RunSet(const std::string &address, const std::vector<std::string> &assignments, const VerifyOptions &verify) {
  std::string error;
  const std::optional<Settings> changes = ParseAssignments(assignments, error);
  if (!changes) {
    Report(error);
    return kExitUsage;
  }
  return ReadAndWrite(address, *changes, "", verify);
}

std::optional<Backup> LoadBackup(const std::string &path) {
  std::string error;
  const std::optional<std::string> text = ReadTextFile(path, error);
  std::optional<Backup> backup = text ? ParseBackup(*text, error) : std::nullopt;
  if (!backup) Report(text ? path + ": " + error : error);
  return backup;
}

int RunRestore(const std::string &address, const std::string &backupPath, bool otherBoard,
               const VerifyOptions &verify) {
  const std::optional<Backup> backup = LoadBackup(backupPath);
  if (!backup) return kExitUsage;
  return ReadAndWrite(address, backup->settings, otherBoard ? "" : backup->deviceId, verify);
}

}  // namespace relayctl
