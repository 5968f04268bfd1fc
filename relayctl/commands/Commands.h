// The subcommands of relayctl. Each Add...Command registers its subcommand
// with its own options on `app`; when it is chosen, its callback runs it and
// stores the process's exit status in `status`. Commands write data to
// standard output and messages to standard error.
#pragma once

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

}  // namespace relayctl
