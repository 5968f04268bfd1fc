// set and restore: change one board.
#include <memory>

#include "Assignments.h"
#include "BackupFile.h"
#include "BoardLink.h"
#include "CommandLine.h"
#include "Commands.h"
#include "Files.h"

namespace relayctl {
namespace {

// Reads the board, writes `changes` and reports the outcome.
int ReadAndWrite(const std::string &address, const Settings &changes, const std::string &expectedId,
                 const WriteOptions &options) {
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
  const WriteResult result = WriteChanges(*board, changes, options);
  Report(address + ": " + result.message);
  return result.status;
}

int RunSet(const std::string &address, const std::vector<std::string> &assignments, const WriteOptions &options) {
  std::string error;
  const std::optional<Settings> changes = ParseAssignments(assignments, error);
  if (!changes) {
    Report(error);
    return kExitUsage;
  }
  return ReadAndWrite(address, *changes, "", options);
}

}  // namespace

std::optional<Backup> LoadBackup(const std::string &path) {
  std::string error;
  const std::optional<std::string> text = ReadTextFile(path, error);
  std::optional<Backup> backup = text ? ParseBackup(*text, error) : std::nullopt;
  if (!backup) Report(text ? path + ": " + error : error);
  return backup;
}

namespace {

int RunRestore(const std::string &address, const std::string &backupPath, bool otherBoard,
               const WriteOptions &options) {
  const std::optional<Backup> backup = LoadBackup(backupPath);
  if (!backup) return kExitUsage;
  return ReadAndWrite(address, backup->settings, otherBoard ? "" : backup->deviceId, options);
}

}  // namespace

void AddSetCommand(CLI::App &app, int &status) {
  struct Options {
    std::string address;
    std::vector<std::string> assignments;
    WriteCommandOptions write;
  };
  auto options = std::make_shared<Options>();
  CLI::App *set = app.add_subcommand("set", "Change settings of a board and restart it");
  set->add_option("address", options->address, "The board's IPv4 address")->required()->transform(BoardAddress());
  set->add_option("settings", options->assignments, "NAME=VALUE: " + AssignmentHelp())->required();
  AddWriteOptions(*set, options->write);
  set->callback([options, &status] {
    status = RunSet(options->address, options->assignments, options->write.Resolved());
  });
}

void AddRestoreCommand(CLI::App &app, int &status) {
  struct Options {
    std::string address, file;
    bool otherBoard = false;
    WriteCommandOptions write;
  };
  auto options = std::make_shared<Options>();
  CLI::App *restore = app.add_subcommand("restore", "Write a backup's settings to a board");
  restore->add_option("address", options->address, "The board's IPv4 address")->required()->transform(BoardAddress());
  restore->add_option("file", options->file, "Backup file")->required();
  restore->add_flag("--other-board", options->otherBoard, "Restore a backup of a board with another device ID");
  AddWriteOptions(*restore, options->write);
  restore->callback([options, &status] {
    status = RunRestore(options->address, options->file, options->otherBoard, options->write.Resolved());
  });
}

}  // namespace relayctl
