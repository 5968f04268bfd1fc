// The subcommands of relayctl. Each Add...Command registers its subcommand
// with its own options on `app`; when it is chosen, its callback runs it and
// stores the process's exit status in `status`. Commands write data to
// standard output and messages to standard error.
#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "io/BackupFile.h"
#include "link/BoardWrite.h"
#include "platform/Workers.h"

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

// "relayctl: " + message and a line end on standard error, as one write.
void Report(const std::string &message);

// One board's line in the output of commands over many boards: address,
// outcome and message in columns.
std::string BoardLine(const std::string &address, const std::string &outcome, const std::string &message);

// The outcome word of a board's line: ok, would-change, rejected, failed,
// not-taken, partly, stopped (a stop request cut its verification short).
const char *StatusWord(int status);

// A board's outcome on standard output: its line (BoardLine), or with `json`
// its JSON object (ResultJson.h).
void PrintResult(const std::string &address, const WriteResult &result, bool json);

// Adds the boards of the list file `listPath` (when not empty) to
// `addresses` and leaves each address once, in the order first given. Reports
// and answers false when the list cannot be used.
bool GatherTargets(std::vector<std::string> &addresses, const std::string &listPath);

// What a run of WriteBoards did.
struct BoardsWritten {
  ExitStatus overall = kExitDone;  // the highest of the boards' statuses
  std::size_t succeeded = 0;       // boards that ended with kExitDone
  std::size_t started = 0;         // less than all when a stop was requested
};

// Runs the write job `job` (its result an encoded WriteResult) for every
// address, `parallel` boards at once, each in a worker process of its own
// with the request of the address, `options` and `input`, with a progress
// bar; prints each board's line (or with `json` its JSON object) as it
// finishes. Stops starting boards on a stop request.
BoardsWritten WriteBoards(const std::vector<std::string> &addresses, int parallel, bool json, const WorkerJob &job,
                          const WriteOptions &options, const std::string &input);

// The jobs that the commands run in worker processes.
extern const WorkerJob kApplyJob;    // apply: the input is the backup's text
extern const WorkerJob kRestoreJob;  // restore --dir: the input is the folder
extern const WorkerJob kBackupJob;   // backup --dir: the request is the address
inline const std::vector<const WorkerJob *> &WorkerJobs() {
  static const std::vector<const WorkerJob *> jobs = {&kApplyJob, &kRestoreJob, &kBackupJob};
  return jobs;
}

// Reads and checks a backup file; reports why and gives nullopt when it cannot
// be used. With `text`, also gives the file's text there.
std::optional<Backup> LoadBackup(const std::string &path, std::string *text = nullptr);

}  // namespace relayctl
