// backup --dir: many boards, one file each.
#include <ctime>
#include <filesystem>
#include <iostream>
#include <nlohmann/json.hpp>
#include <random>

#include "AddressRange.h"
#include "BackupFile.h"
#include "BoardLink.h"
#include "BulkBackup.h"
#include "Commands.h"
#include "Files.h"
#include "Interrupt.h"
#include "Progress.h"
#include "Protocol.h"
#include "ScanResult.h"
#include "platform/Workers.h"

namespace relayctl {
namespace {

using Json = nlohmann::json;

std::string Today() {
  const std::time_t now = std::time(nullptr);
  char date[16];
  std::strftime(date, sizeof date, "%Y-%m-%d", std::localtime(&now));  // the only thread that asks
  return date;
}

// A worker's read of one board: the backup text and device ID, or why not.
std::string ReadForBackup(const std::string &address) {
  Outcome failure;
  const std::optional<BoardState> board = ReadBoard(address, failure);
  if (!board) return Json{{"message", failure.message + " (" + std::to_string(failure.code) + ")"}}.dump();
  return Json{{"device_id", board->deviceId}, {"backup", BackupJson(*board)}}.dump();
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

// The file for a board's backup: the first free name, or the one that
// already holds a backup of the same device ID.
std::string FileFor(const std::string &folder, const std::string &deviceId, const std::string &address,
                    const std::string &date) {
  for (int attempt = 1;; ++attempt) {
    const std::string path = folder + "/" + BackupFileName(deviceId, address, date, attempt);
    if (!std::filesystem::exists(path)) return path;
    if (!deviceId.empty() && DeviceIdOfFile(path) == deviceId) return path;
  }
}

// The boards of a range, found with a scan.
std::vector<std::string> BoardsIn(const std::vector<std::uint32_t> &range) {
  std::random_device seed;
  const std::string request =
      relay::BuildCommand(relay::Command::ReportConfig, std::uniform_int_distribution(0, 9999)(seed));
  ProbeOptions options;
  options.parallel = AllowedParallel(options.parallel);
  std::vector<std::string> boards;
  for (const FoundBoard &board : Identify(Probe(range, request, options, nullptr, Interrupted)).boards) {
    boards.push_back(board.address);
  }
  return boards;
}

}  // namespace

const WorkerJob kBackupJob{"backup", ReadForBackup};

std::string BackupFileName(const std::string &deviceId, const std::string &address, const std::string &date,
                           int attempt) {
  return (deviceId.empty() ? address : deviceId) + "-" + date + (attempt > 1 ? "-" + std::to_string(attempt) : "") +
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
  ExitStatus overall = kExitDone;
  std::size_t written = 0;
  std::vector<std::string> notAnswering;
  {
    Progress progress(addresses.size());
    progress.Show(0);
    std::size_t finished = 0;
    RunInWorkers(
        kBackupJob, addresses.size(), parallel, [&](std::size_t i) { return addresses[i]; },
        [&](std::size_t i, const std::string &text) {
          const Json read = Json::parse(text, nullptr, false);
          std::string line;
          if (read.is_object() && read.contains("backup") && read["backup"].is_string()) {
            const std::string path = FileFor(folder, read.value("device_id", ""), addresses[i], date);
            std::string error;
            if (WritePrivateFile(path, read["backup"].get<std::string>(), error)) {
              ++written;
              line = BoardLine(addresses[i], "ok", path);
            } else {
              overall = Worse(overall, kExitUsage);
              line = BoardLine(addresses[i], "failed", error);
            }
          } else {
            overall = Worse(overall, kExitCommunication);
            notAnswering.push_back(addresses[i]);
            line = BoardLine(addresses[i], "failed", read.is_object() ? read.value("message", "") : "no report");
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
