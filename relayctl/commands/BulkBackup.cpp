// backup --dir: many boards, one file each.
#include <algorithm>
#include <ctime>
#include <filesystem>
#include <iostream>
#include <random>
#include <set>

#include "ArpCache.h"
#include "Protocol.h"
#include "board/AddressRange.h"
#include "board/BoardText.h"
#include "commands/BulkBackup.h"
#include "commands/Commands.h"
#include "commands/ResultLines.h"
#include "io/Report.h"
#include "io/BackupFile.h"
#include "io/Progress.h"
#include "link/BoardLink.h"
#include "link/FleetEngine.h"
#include "link/ScanResult.h"
#include "platform/Files.h"
#include "platform/Interrupt.h"

namespace relayctl {
namespace {

std::string Today() {
  const std::time_t now = std::time(nullptr);
  char date[16];
  std::strftime(date, sizeof date, "%Y-%m-%d", std::localtime(&now));  // the only thread that asks
  return date;
}

// The device ID of the backup in `path`, or nullopt when it holds none (or is
// no backup).
std::optional<std::string> DeviceIdOfFile(const std::string &path) {
  std::string error;
  const std::optional<std::string> text = ReadTextFile(path, error);
  const std::optional<Backup> backup = text ? ParseBackup(*text, error) : std::nullopt;
  if (!backup || backup->deviceId.empty()) return std::nullopt;
  return backup->deviceId;
}

// The file for a board's backup: the first name that is free and not taken
// earlier in this run, or the one that already holds a backup of the same
// device ID. Entries that are not regular files are never opened; their
// names go to `skipped`.
std::filesystem::path FileFor(const std::filesystem::path &folder, const std::string &deviceId,
                              const std::string &address, const std::string &date,
                              const std::set<std::filesystem::path> &taken, std::vector<std::string> &skipped) {
  const bool namedById = BackupFileStem(deviceId, address) != address;
  for (int attempt = 1;; ++attempt) {
    const std::filesystem::path path = folder / BackupFileName(deviceId, address, date, attempt);
    if (taken.count(path)) continue;
    std::error_code unknown;
    const std::filesystem::file_status entry = std::filesystem::symlink_status(path, unknown);
    if (!std::filesystem::exists(entry)) return path;
    if (!std::filesystem::is_regular_file(entry)) {
      skipped.push_back(path.string());
      continue;
    }
    if (namedById && DeviceIdOfFile(path.string()) == deviceId) return path;
  }
}

std::string SkippedNote(const std::vector<std::string> &skipped) {
  std::string note;
  for (const std::string &name : skipped) note += (note.empty() ? " (" : ", ") + name;
  return note.empty() ? note : note + (skipped.size() == 1 ? " is" : " are") + " not a regular file, left alone)";
}

// The boards of a range, found with a scan.
std::vector<std::string> BoardsIn(const std::vector<std::uint32_t> &range) {
  std::random_device seed;
  const std::string request =
      relay::BuildCommand(relay::Command::ReportConfig, std::uniform_int_distribution(0, 9999)(seed));
  ProbeOptions options;
  options.parallel = AllowedParallel(options.parallel);
  std::vector<std::string> boards;
  for (const BoardState &board : Identify(Probe(range, request, options, nullptr, Interrupted)).boards) {
    boards.push_back(board.address);
  }
  return boards;
}

}  // namespace

std::string BackupFileStem(const std::string &deviceId, const std::string &address) {
  const bool safe = deviceId.size() == 14 && std::all_of(deviceId.begin(), deviceId.end(), [](char c) {
                      return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' ||
                             c == '_';
                    });
  return safe ? deviceId : address;
}

std::string BackupFileName(const std::string &deviceId, const std::string &address, const std::string &date,
                           int attempt) {
  return BackupFileStem(deviceId, address) + "-" + date + (attempt > 1 ? "-" + std::to_string(attempt) : "") +
         ".json";
}

int RunBulkBackup(const std::string &folder, const std::string &range, std::vector<std::string> addresses,
                  int parallel) {
  if (!range.empty()) {
    std::string error;
    const std::optional<std::vector<std::uint32_t>> scanned = ParseRange(range, error);
    if (!scanned) {
      Report(error);
      return kExitUsage;
    }
    const std::vector<std::string> found = BoardsIn(*scanned);
    Report(std::to_string(found.size()) + " boards answer in " + range);
    addresses.insert(addresses.end(), found.begin(), found.end());
  }
  std::error_code made;
  std::filesystem::create_directories(folder, made);
  if (!std::filesystem::is_directory(folder)) {
    Report("cannot use " + folder + " as the folder for backups: " + (made ? made.message() : "not a folder"));
    return kExitUsage;
  }

  const std::string date = Today();
  std::set<std::filesystem::path> taken;  // by the boards of this run
  ExitStatus overall = kExitDone;
  std::size_t written = 0;
  std::vector<std::string> notAnswering;
  {
    const std::size_t atOnce = BoardsAtOnce(parallel, addresses.size());
    Progress progress(addresses.size());
    progress.Show(0);
    std::size_t finished = 0;
    relay::FlushArpCache();  // once for the run, not before each board's read
    FleetEngine engine;
    engine.Run<BoardRead>(
        addresses.size(), atOnce,
        [&](std::size_t i) { return ReadOnOwnContext(engine.Driver(), addresses[i], false); },
        [&](std::size_t i, BoardRead read) {
          std::string line;
          if (read.board) {
            std::vector<std::string> skipped;
            const std::filesystem::path path =
                FileFor(folder, read.board->deviceId, addresses[i], date, taken, skipped);
            taken.insert(path);
            std::string error;
            if (WritePrivateFile(path.string(), BackupJson(*read.board), error)) {
              ++written;
              line = BoardLine(addresses[i], "ok", path.string() + SkippedNote(skipped));
            } else {
              overall = Worse(overall, kExitUsage);
              line = BoardLine(addresses[i], "failed", error);
            }
          } else {
            overall = Worse(overall, kExitCommunication);
            notAnswering.push_back(addresses[i]);
            line = BoardLine(addresses[i], "failed",
                             read.failure.message + " (" + std::to_string(read.failure.code) + ")");
          }
          progress.Clear();
          std::cout << line << std::endl;
          progress.Show(++finished, addresses[i]);
        },
        Interrupted);
  }
  std::string summary = std::to_string(written) + " of " + std::to_string(addresses.size()) +
                        " boards backed up to " + folder;
  if (!notAnswering.empty()) {
    summary += "; not answering:";
    for (const std::string &address : notAnswering) summary += " " + address;
  }
  Report(summary);
  return overall;
}

}  // namespace relayctl
