// The subcommands of relayctl. Each Add...Command registers its subcommand
// with its own options on `app`; when it is chosen, its callback runs it and
// stores the process's exit status in `status`. Commands write data to
// standard output and messages to standard error.
#pragma once

#include <vector>

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

// The jobs that the commands run in worker processes.
extern const WorkerJob kApplyJob;    // apply: the input is the backup's text
extern const WorkerJob kRestoreJob;  // restore --dir: the input is the folder
extern const WorkerJob kBackupJob;   // backup --dir: the request is the address
inline const std::vector<const WorkerJob *> &WorkerJobs() {
  static const std::vector<const WorkerJob *> jobs = {&kApplyJob, &kRestoreJob, &kBackupJob};
  return jobs;
}

}  // namespace relayctl
