// relayctl: network relay boards from a terminal, one at a time or a whole
// network. Exit statuses: ExitStatus.h.
#include <CLI/CLI.hpp>

#include "ExitStatus.h"
#include "commands/Commands.h"
#include "io/Output.h"
#include "platform/Interrupt.h"

int main(int argc, char **argv) {
  relayctl::WatchedOutput output;
  CLI::App app{"relayctl: configure network relay boards from a terminal"};
  app.require_subcommand(1);
  // Options start with "-" on Windows as well: "/" starts paths such as /tmp/x.json.
  app.allow_windows_style_options(false);
  app.set_version_flag("--version", "relayctl " RELAY_VERSION);
  app.footer(
      "Exit status: 0 done, 1 a value refused (nothing sent), 2 a board not reached, 3 a value did not take, "
      "4 partly written and not restarted, 5 --check: something would change, 64 usage, 74 output could not be "
      "written, 129 SIGHUP, 130 SIGINT (Ctrl-C), 143 SIGTERM (Ctrl-Break).");

  int status = relayctl::kExitDone;
  relayctl::AddShowCommand(app, status);
  relayctl::AddSetCommand(app, status);
  relayctl::AddBackupCommand(app, status);
  relayctl::AddRestoreCommand(app, status);
  relayctl::AddScanCommand(app, status);
  relayctl::AddApplyCommand(app, status);

  relayctl::CatchInterrupts();
  relayctl::ExitStatus result = relayctl::kExitDone;
  try {
    app.parse(argc, argv);
    result = relayctl::InterruptedStatus(static_cast<relayctl::ExitStatus>(status));
  } catch (const CLI::ParseError &error) {
    result = app.exit(error) == 0 ? relayctl::kExitDone : relayctl::kExitUsage;
  }
  return output.Checked(result);
}
