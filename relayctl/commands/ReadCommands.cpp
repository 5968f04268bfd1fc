// show and backup: read a board and print or save what it holds.
#include <iostream>
#include <memory>

#include "ExitStatus.h"
#include "board/AddressRange.h"
#include "commands/BulkBackup.h"
#include "commands/CommandLine.h"
#include "commands/Commands.h"
#include "commands/Inputs.h"
#include "io/BackupFile.h"
#include "io/Report.h"
#include "io/ShowText.h"
#include "link/BoardLink.h"
#include "link/FleetEngine.h"
#include "platform/Files.h"
#include "platform/Terminal.h"

namespace relayctl {
namespace {

std::optional<BoardState> ReadOrReport(const std::string &address) {
  const BoardRead read = ReadAlone(address);
  if (!read.board) Report(address + ": " + read.failure.message + " (" + std::to_string(read.failure.code) + ")");
  return read.board;
}

int RunShow(const std::string &address, bool json) {
  const std::optional<BoardState> board = ReadOrReport(address);
  if (!board) return kExitCommunication;
  std::cout << (json ? ShowJson(*board) : ShowText(*board, TerminalEncoding())) << std::flush;
  return kExitDone;
}

int RunBackup(const std::string &address, std::string outputPath) {
  const std::optional<BoardState> board = ReadOrReport(address);
  if (!board) return kExitCommunication;
  if (outputPath.empty()) outputPath = BackupFileStem(board->deviceId, address) + ".json";
  std::string error;
  if (!WritePrivateFile(outputPath, BackupJson(*board), error)) {
    Report(error);
    return outputPath == "-" ? kExitOutput : kExitUsage;
  }
  if (outputPath != "-") Report("backup of " + address + " written to " + outputPath);
  return kExitDone;
}

}  // namespace

void AddShowCommand(CLI::App &app, int &status) {
  struct Options {
    std::string address;
    bool json = false;
  };
  auto options = std::make_shared<Options>();
  CLI::App *show = app.add_subcommand("show", "Print every setting, the capabilities and firmware of a board");
  show->add_option("address", options->address, "The board's IPv4 address")->required()->transform(BoardAddress());
  show->add_flag("--json", options->json, "One JSON object with fixed field names");
  show->callback([options, &status] { status = RunShow(options->address, options->json); });
}

void AddBackupCommand(CLI::App &app, int &status) {
  struct Options {
    std::string target, output, folder, listPath;
    std::vector<std::string> addresses;
    int parallel = kDefaultBoardsAtOnce;
  };
  auto options = std::make_shared<Options>();
  CLI::App *backup = app.add_subcommand(
      "backup", "Save a board's settings to a JSON file, or with --dir those of many boards, a file each");
  backup->add_option("target", options->target,
                     "The board's IPv4 address; with --dir also a range (10.0.0.0/24, 10.0.0.5-40) whose boards "
                     "are found by a scan");
  CLI::Option *output = backup->add_option(
      "-o,--output", options->output, "File to write (- for standard output); default DEVICE-ID.json or ADDRESS.json");
  CLI::Option *folder =
      backup->add_option("--dir", options->folder, "Folder for one file per board, DEVICE-ID-DATE.json or ADDRESS-DATE.json")
          ->excludes(output);
  backup->add_option("--to", options->addresses, "With --dir: addresses of the boards")
      ->transform(BoardAddress())
      ->needs(folder);
  backup->add_option("--to-list", options->listPath, "With --dir: file with one address per line")->needs(folder);
  AddParallelOption(*backup, options->parallel);
  backup->callback([options, &status] {
    if (options->folder.empty()) {
      std::string error;
      const std::optional<std::string> address = NormalBoardAddress(options->target, error);
      if (!address) Report(options->target.empty() ? "give the board's address, or --dir with boards" : error);
      status = address ? RunBackup(*address, options->output) : kExitUsage;
      return;
    }
    std::string range = options->target, ignored;
    if (const std::optional<std::string> single = NormalBoardAddress(range, ignored)) {
      options->addresses.insert(options->addresses.begin(), *single);  // one board: no scan, listed when silent
      range.clear();
    }
    if (!GatherTargets(options->addresses, options->listPath)) {
      status = kExitUsage;
    } else if (range.empty() && options->addresses.empty()) {
      Report("no boards to back up: give a range, --to ADDRESS... or --to-list FILE");
      status = kExitUsage;
    } else {
      status = RunBulkBackup(options->folder, range, options->addresses, options->parallel);
    }
  });
}

}  // namespace relayctl
