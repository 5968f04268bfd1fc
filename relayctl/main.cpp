// relayctl: network relay boards from a terminal, one at a time or a whole
// network. Exit status: 0 done, 1 a value refused, 2 a board not reached or
// not answering, 3 a value that did not take, 64 a usage error.
#include <CLI/CLI.hpp>

#include "Commands.h"
#include "ExitStatus.h"

namespace {

void AddVerifyOptions(CLI::App &command, bool &verify, double &waitSeconds) {
  command.add_flag("--verify", verify, "After the restart, read the board again and report any value that did not take");
  command.add_option("--wait", waitSeconds, "Seconds to wait for the board to answer after its restart (with --verify)")
      ->check(CLI::Range(0.0, 3600.0))
      ->capture_default_str();
}

}  // namespace

int main(int argc, char **argv) {
  CLI::App app{"relayctl: configure network relay boards from a terminal"};
  app.require_subcommand(1);
  app.footer("Exit status: 0 done, 1 a value refused, 2 a board not reached, 3 a value did not take, 64 usage.");

  std::string address, file, range, output, listPath;
  std::vector<std::string> assignments, targets;
  bool json = false, verify = false, otherBoard = false;
  double waitSeconds = 20;
  relayctl::ProbeOptions probe;

  CLI::App *show = app.add_subcommand("show", "Print every setting, the capabilities and firmware of a board");
  show->add_option("address", address, "The board's IPv4 address")->required()->check(CLI::ValidIPV4);
  show->add_flag("--json", json, "One JSON object with fixed field names");

  CLI::App *set = app.add_subcommand("set", "Change settings of a board and restart it");
  set->add_option("address", address, "The board's IPv4 address")->required()->check(CLI::ValidIPV4);
  set->add_option("settings", assignments,
                  "NAME=VALUE: ip, mask, gateway, keys (eight digits 1..3), key1..key8 (keep, follow, jog or 1..3), "
                  "restore and remote (on|off), dns, server, password")
      ->required();
  AddVerifyOptions(*set, verify, waitSeconds);

  CLI::App *backup = app.add_subcommand("backup", "Save a board's settings to a JSON file");
  backup->add_option("address", address, "The board's IPv4 address")->required()->check(CLI::ValidIPV4);
  backup->add_option("-o,--output", output, "File to write (- for standard output); default DEVICE-ID.json or ADDRESS.json");

  CLI::App *restore = app.add_subcommand("restore", "Write a backup's settings to a board");
  restore->add_option("address", address, "The board's IPv4 address")->required()->check(CLI::ValidIPV4);
  restore->add_option("file", file, "Backup file")->required();
  restore->add_flag("--other-board", otherBoard, "Restore a backup of a board with another device ID");
  AddVerifyOptions(*restore, verify, waitSeconds);

  CLI::App *scan = app.add_subcommand("scan", "Find boards in an address range");
  scan->add_option("range", range, "CIDR block (10.0.0.0/24), range (10.0.0.5-10.0.0.40 or 10.0.0.5-40) or address")
      ->required();
  scan->add_option("--timeout", probe.connectTimeoutMs, "Connect bound per address, ms")
      ->check(CLI::Range(1, 60000))
      ->capture_default_str();
  scan->add_option("--reply-timeout", probe.replyTimeoutMs, "Bound for a board's reply once connected, ms")
      ->check(CLI::Range(1, 60000))
      ->capture_default_str();
  scan->add_option("--parallel", probe.parallel, "Addresses probed at once")
      ->check(CLI::Range(1, 1000))
      ->capture_default_str();
  scan->add_flag("--json", json, "A JSON array instead of a table");

  CLI::App *apply = app.add_subcommand("apply", "Apply a backup, without its network addresses, to many boards");
  apply->add_option("file", file, "Backup file")->required();
  apply->add_option("--to", targets, "Addresses of the boards")->check(CLI::ValidIPV4);
  apply->add_option("--to-list", listPath, "File with one address per line ('#' starts a comment)");
  AddVerifyOptions(*apply, verify, waitSeconds);

  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError &error) {
    const int status = app.exit(error);
    return status == 0 ? relayctl::kExitDone : relayctl::kExitUsage;
  }

  const relayctl::VerifyOptions verifyOptions{verify, static_cast<int>(waitSeconds * 1000)};
  if (*show) return relayctl::RunShow(address, json);
  if (*set) return relayctl::RunSet(address, assignments, verifyOptions);
  if (*backup) return relayctl::RunBackup(address, output);
  if (*restore) return relayctl::RunRestore(address, file, otherBoard, verifyOptions);
  if (*scan) return relayctl::RunScan(range, probe, json);
  return relayctl::RunApply(file, targets, listPath, verifyOptions);
}
