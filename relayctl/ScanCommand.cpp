// scan: find the boards in an address range.
#include <chrono>
#include <cstdio>
#include <iostream>
#include <random>

#include "AddressRange.h"
#include "Commands.h"
#include "ExitStatus.h"
#include "Progress.h"
#include "Protocol.h"
#include "ScanResult.h"

namespace relayctl {

int RunScan(const std::string &range, const ProbeOptions &options, bool json) {
  std::string error;
  const std::optional<std::vector<std::uint32_t>> addresses = ParseRange(range, error);
  if (!addresses) {
    Report(error);
    return kExitUsage;
  }
  std::random_device seed;
  const int tag = std::uniform_int_distribution(0, 9999)(seed);
  const std::string request = relay::BuildCommand(relay::Command::ReportConfig, tag);

  const auto started = std::chrono::steady_clock::now();
  ScanResult result;
  {
    Progress progress(addresses->size());
    result = Identify(Probe(*addresses, request, options, [&](std::size_t done) { progress.Show(done); }));
  }
  const std::chrono::duration<double> took = std::chrono::steady_clock::now() - started;

  std::cout << (json ? ScanJson(result.boards) : ScanTable(result.boards)) << std::flush;
  for (const std::string &note : result.notBoards) Report(note);
  char summary[128];
  std::snprintf(summary, sizeof summary, "%zu boards in %zu addresses (%.2f s)", result.boards.size(),
                addresses->size(), took.count());
  Report(summary);
  return kExitDone;
}

}  // namespace relayctl
