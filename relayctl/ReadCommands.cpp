// show and backup: read a board and print or save what it holds.
#include <iostream>

#include "BackupFile.h"
#include "BoardLink.h"
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

}  // namespace relayctl
