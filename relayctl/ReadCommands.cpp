// show and backup: read a board and print or save what it holds.
#include <iostream>
#include <memory>

#include "BackupFile.h"
#include "BoardLink.h"
#include "CommandLine.h"
#include "Commands.h"
#include "ExitStatus.h"
#include "Files.h"
#include "ShowText.h"

namespace relayctl {
namespace {

std::optional<BoardState> ReadOrReport(const std::string &address) {
  Outcome failure;
  std::optional<BoardState> board = ReadBoard(address, failure);
  if (!board) Report(address + ": " + failure.message + " (" + std::to_string(failure.code) + ")");
  return board;
}

}  // namespace

void Report(const std::string &message) { std::cerr << "relayctl: " << message << std::endl; }

namespace {

int RunShow(const std::string &address, bool json) {
  const std::optional<BoardState> board = ReadOrReport(address);
  if (!board) return kExitCommunication;
  std::cout << (json ? ShowJson(*board) : ShowText(*board)) << std::flush;
  return kExitDone;
}

int RunBackup(const std::string &address, std::string outputPath) {
  const std::optional<BoardState> board = ReadOrReport(address);
  if (!board) return kExitCommunication;
  if (outputPath.empty()) outputPath = (board->deviceId.empty() ? address : board->deviceId) + ".json";
  std::string error;
  if (!WritePrivateFile(outputPath, BackupJson(*board), error)) {
    Report(error);
    return kExitUsage;
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
    std::string address, output;
  };
  auto options = std::make_shared<Options>();
  CLI::App *backup = app.add_subcommand("backup", "Save a board's settings to a JSON file");
  backup->add_option("address", options->address, "The board's IPv4 address")->required()->transform(BoardAddress());
  backup->add_option("-o,--output", options->output,
                     "File to write (- for standard output); default DEVICE-ID.json or ADDRESS.json");
  backup->callback([options, &status] { status = RunBackup(options->address, options->output); });
}

}  // namespace relayctl
