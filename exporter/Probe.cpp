#include "Probe.h"

#include "BoardSeries.h"
#include "io/BackupFile.h"
#include "link/ApplyPlan.h"
#include "link/BoardLink.h"

namespace relay_exporter {

std::string ProbeRequest(const std::string &address, const std::string &module) { return address + "\n" + module; }

Launcher::Job ProbeJob(Modules modules) {
  return [modules = std::move(modules)](const std::string &request) -> std::string {
    const std::size_t end = request.find('\n');
    const auto module = modules.find(request.substr(end + 1));
    if (end == std::string::npos || module == modules.end()) return {};
    relayctl::Outcome failure;
    const std::optional<relayctl::BoardState> board = relayctl::ReadBoard(request.substr(0, end), failure);
    if (!board) return {};
    std::optional<relayctl::WriteResult> plan;
    if (!module->second.desiredState.empty()) {
      std::string error;
      const std::optional<relayctl::Backup> backup = relayctl::ParseBackup(module->second.desiredState, error);
      relayctl::WriteOptions check;
      check.check = true;
      if (backup) plan = relayctl::ApplyBackup(*board, *backup, check);  // checked when the exporter started
    }
    return BoardSeries(*board, plan);
  };
}

}  // namespace relay_exporter
