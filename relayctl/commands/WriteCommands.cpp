// set and restore: change one board, or restore many from a folder.
#include <cctype>
#include <filesystem>
#include <iostream>
#include <memory>

#include "board/BoardText.h"
#include "commands/BulkBackup.h"
#include "commands/CommandLine.h"
#include "commands/Commands.h"
#include "commands/Inputs.h"
#include "commands/ResultJson.h"
#include "commands/ResultLines.h"
#include "commands/WriteBoards.h"
#include "io/Assignments.h"
#include "io/BackupFile.h"
#include "io/Report.h"
#include "link/BoardLink.h"
#include "platform/Files.h"
#include "platform/Interrupt.h"
#include "platform/Terminal.h"

namespace relayctl {
namespace {

// Writes `changes` to the board just read, unless the backup they come from
// is of another board (`expectedId`, when not empty). `note` (when not
// empty) goes before the outcome.
relay::Task<WriteResult> WriteToBoard(relay::DeviceContext &context, const BoardState &board, const Settings &changes,
                                      const std::string &expectedId, const WriteOptions &options,
                                      const std::string &note) {
  const TextEncoding encoding = TerminalEncoding();
  if (!expectedId.empty() && expectedId != board.deviceId) {
    const std::string thisBoard = board.deviceId.empty() ? "without a device ID" : Shown(board.deviceId, encoding);
    const std::string why = "refused, nothing sent: the backup is of board " + Shown(expectedId, encoding) +
                            ", this board is " + thisBoard + " (--other-board restores it anyway)";
    co_return WriteResult{kExitRejected, why};
  }
  WriteResult result = co_await WriteChanges(context, board, changes, options);
  if (!note.empty()) result.message = note + ". " + result.message;
  co_return result;
}

// Reads the board, then WriteToBoard.
relay::Task<WriteResult> ReadAndWriteTo(relay::DeviceContext &context, const std::string &address,
                                        const Settings &changes, const std::string &expectedId,
                                        const WriteOptions &options, const std::string &note) {
  const BoardRead read = co_await ReadBoard(context, address);
  if (!read.board) co_return NotRead(read.failure);
  WriteResult result = co_await WriteToBoard(context, *read.board, changes, expectedId, options, note);
  co_return result;
}

// Reads the board, writes `changes` and reports the outcome: on standard
// error, or with `json` as the JSON lines of apply.
int ReadAndWrite(const std::string &address, const Settings &changes, const std::string &expectedId,
                 const WriteOptions &options, bool json, const std::string &note = {}) {
  WriteResult result = WriteBoard(address, [&](relay::DeviceContext &context, const std::string &at) {
    return ReadAndWriteTo(context, at, changes, expectedId, options, note);
  });
  result.planned = options.check;  // also for boards refused or not read
  if (!json) {
    Report(address + ": " + result.message);
    return result.status;
  }
  PrintResult(address, result, true);
  const bool took = result.status == kExitDone || result.status == kExitWouldChange;
  std::cout << SummaryJson(1, took ? 1 : 0, 0, InterruptedStatus(result.status)) << std::endl;
  return result.status;
}

// How messages name the --from file.
std::string FromName(const std::string &fromPath) { return fromPath == "-" ? "standard input" : fromPath; }

// The assignments of the --from file ("-" standard input); nullopt once the
// trouble is reported.
std::optional<std::vector<AssignmentLine>> AssignmentsFrom(const std::string &fromPath) {
  std::string error;
  const std::optional<std::string> text = ReadTextFile(fromPath, error);
  std::optional<std::vector<AssignmentLine>> lines = text ? AssignmentLines(*text, error) : std::nullopt;
  if (!lines) Report(text ? FromName(fromPath) + ": " + error : error);
  return lines;
}

// The assignments of the command line, then those of the --from file; a
// refused line of the file is named by its number.
int RunSet(const std::string &address, std::vector<std::string> assignments, const std::string &fromPath,
           const WriteOptions &options, bool json) {
  const std::size_t arguments = assignments.size();
  std::vector<AssignmentLine> lines;
  if (!fromPath.empty()) {
    std::optional<std::vector<AssignmentLine>> read = AssignmentsFrom(fromPath);
    if (!read) return kExitUsage;
    lines = std::move(*read);
    for (const AssignmentLine &line : lines) assignments.push_back(line.text);
  }
  std::string error;
  std::size_t refused = 0;
  const std::optional<Settings> changes = ParseAssignments(assignments, TerminalEncoding(), error, &refused);
  if (!changes) {
    const bool fromFile = refused >= arguments && refused - arguments < lines.size();
    Report(fromFile ? FromName(fromPath) + ": line " + std::to_string(lines[refused - arguments].number) + ": " + error
                    : error);
    return kExitUsage;
  }
  return ReadAndWrite(address, *changes, "", options, json);
}

int RunRestore(const std::string &address, const std::string &backupPath, bool otherBoard,
               const WriteOptions &options, bool json) {
  const std::optional<Backup> backup = LoadBackup(backupPath);
  if (!backup) return kExitUsage;
  return ReadAndWrite(address, backup->settings, otherBoard ? "" : backup->deviceId, options, json, backup->note);
}

// The newest backup in `folder` of the board: a file named by its
// BackupFileStem, a date and ".json", as backup --dir names them.
std::optional<std::string> NewestBackupOf(const std::string &folder, const BoardState &board) {
  const std::string prefix = BackupFileStem(board.deviceId, board.address) + "-";
  std::optional<std::filesystem::path> newest;
  std::filesystem::file_time_type newestTime;
  std::error_code error;
  for (const auto &entry : std::filesystem::directory_iterator(folder, error)) {
    const std::string name = entry.path().filename().string();
    if (name.rfind(prefix, 0) != 0 || !entry.path().extension().string().ends_with("json") ||
        name.size() <= prefix.size() || !std::isdigit(static_cast<unsigned char>(name[prefix.size()]))) {
      continue;
    }
    const auto time = entry.last_write_time(error);
    if (!newest || time > newestTime) newest = entry.path(), newestTime = time;
  }
  if (!newest) return std::nullopt;
  return newest->string();
}

// One board of restore --dir: the board, its newest backup, the write.
relay::Task<WriteResult> RestoreFromFolder(relay::DeviceContext &context, const std::string &address,
                                           const std::string &folder, const WriteOptions &options) {
  const BoardRead read = co_await ReadBoard(context, address);
  if (!read.board) co_return NotRead(read.failure);
  const std::optional<std::string> path = NewestBackupOf(folder, *read.board);
  if (!path) co_return WriteResult{kExitRejected, "refused, nothing sent: no backup of this board in " + folder};
  std::string error;
  const std::optional<std::string> text = ReadTextFile(*path, error);
  const std::optional<Backup> backup = text ? ParseBackup(*text, error) : std::nullopt;
  if (!backup) co_return WriteResult{kExitUsage, text ? *path + ": " + error : error};
  WriteResult result =
      co_await WriteToBoard(context, *read.board, backup->settings, backup->deviceId, options, backup->note);
  result.message = *path + ": " + result.message;
  co_return result;
}

int RunBulkRestore(const std::string &folder, const std::vector<std::string> &addresses, const WriteOptions &options,
                   int parallel, bool json) {
  const BoardJob restore = [&](relay::DeviceContext &context, const std::string &address) {
    return RestoreFromFolder(context, address, folder, options);
  };
  const BoardsWritten run = WriteBoards(addresses, parallel, json, options.check, restore);
  const std::size_t restored = run.succeeded, started = run.started;
  Report(std::to_string(restored) + " of " + std::to_string(addresses.size()) + " boards restored from " + folder +
         (started == addresses.size() ? "" : "; stopped, " + std::to_string(addresses.size() - started) +
                                                 " not started"));
  if (json) {
    std::cout << SummaryJson(addresses.size(), restored, addresses.size() - started, InterruptedStatus(run.overall))
              << std::endl;
  }
  return run.overall;
}

}  // namespace

void AddSetCommand(CLI::App &app, int &status) {
  struct Options {
    std::string address;
    std::vector<std::string> assignments;
    std::string fromPath;
    WriteCommandOptions write;
    bool json = false;
  };
  auto options = std::make_shared<Options>();
  CLI::App *set = app.add_subcommand("set", "Change settings of a board and restart it");
  set->add_option("address", options->address, "The board's IPv4 address")->required()->transform(BoardAddress());
  set->add_option("settings", options->assignments, "NAME=VALUE: " + AssignmentHelp());
  set->add_option("--from", options->fromPath,
                  "File of NAME=VALUE lines, - for standard input: settings (the password above all) kept out of "
                  "the process list, as scripts should pass them")
      ->type_name("FILE");
  AddWriteOptions(*set, options->write);
  AddJsonResultOption(*set, options->json);
  set->callback([options, &status] {
    status = RunSet(options->address, options->assignments, options->fromPath, options->write.Resolved(),
                    options->json);
  });
}

void AddRestoreCommand(CLI::App &app, int &status) {
  struct Options {
    std::string address, file, folder, listPath;
    std::vector<std::string> addresses;
    bool otherBoard = false;
    WriteCommandOptions write;
    int parallel = kDefaultBoardsAtOnce;
    bool json = false;
  };
  auto options = std::make_shared<Options>();
  CLI::App *restore = app.add_subcommand(
      "restore", "Write a backup's settings to a board, or with --dir each board's newest backup from a folder");
  restore->add_option("address", options->address, "The board's IPv4 address")->transform(BoardAddress());
  CLI::Option *file = restore->add_option("file", options->file, "Backup file");
  CLI::Option *folder = restore->add_option("--dir", options->folder,
                                            "Folder of backup --dir: each board gets its newest backup there")
                            ->excludes(file);
  restore->add_option("--to", options->addresses, "With --dir: addresses of the boards")
      ->transform(BoardAddress())
      ->needs(folder);
  restore->add_option("--to-list", options->listPath, "With --dir: file with one address per line")->needs(folder);
  restore->add_flag("--other-board", options->otherBoard, "Restore a backup of a board with another device ID")
      ->excludes(folder);
  AddWriteOptions(*restore, options->write);
  AddParallelOption(*restore, options->parallel);
  AddJsonResultOption(*restore, options->json);
  restore->callback([options, &status] {
    if (options->folder.empty()) {
      if (options->address.empty() || options->file.empty()) {
        Report("give the board's address and the backup file, or --dir with boards");
        status = kExitUsage;
        return;
      }
      status = RunRestore(options->address, options->file, options->otherBoard, options->write.Resolved(),
                          options->json);
      return;
    }
    if (!options->address.empty()) options->addresses.insert(options->addresses.begin(), options->address);
    if (!GatherTargets(options->addresses, options->listPath)) {
      status = kExitUsage;
    } else if (options->addresses.empty()) {
      Report("no boards to restore: give --to ADDRESS... or --to-list FILE");
      status = kExitUsage;
    } else {
      status = RunBulkRestore(options->folder, options->addresses, options->write.Resolved(), options->parallel,
                              options->json);
    }
  });
}

}  // namespace relayctl
