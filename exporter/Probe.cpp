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
    relay::DeviceContext context;  // its steps block: the worker reads this one board
    const std::optional<relayctl::BoardState> board =
        relay::RunBlocking(relayctl::ReadBoard(context, request.substr(0, end))).board;
    if (!board) return {};
    std::optional<relayctl::WriteResult> plan;
    if (!module->second.desiredState.empty()) {
      std::string error;
      const std::optional<relayctl::Backup> backup = relayctl::ParseBackup(module->second.desiredState, error);
      relayctl::WriteOptions check;
      check.check = true;
      // The module's desired state was checked when the exporter started.
      if (backup) plan = relay::RunBlocking(relayctl::ApplyBackup(context, *board, *backup, check));
    }
    return BoardSeries(*board, plan);
  };
}

}  // namespace relay_exporter
