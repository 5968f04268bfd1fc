// scan: find the boards in an address range.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <iostream>
#include <memory>
#include <random>

#include "ExitStatus.h"
#include "Protocol.h"
#include "board/AddressRange.h"
#include "commands/CommandLine.h"
#include "commands/Commands.h"
#include "io/BackupFile.h"
#include "io/Progress.h"
#include "io/Report.h"
#include "link/ScanResult.h"
#include "platform/Interrupt.h"
#include "platform/Terminal.h"

namespace relayctl {
namespace {

enum class ScanOutput { Table, Json, Addresses };

// The addresses of `range` but those of the `excluded` ranges, or nullopt
// with `error` set when a range is unreadable.
std::optional<std::vector<std::uint32_t>> AddressesToProbe(const std::string &range,
                                                           const std::vector<std::string> &excluded,
                                                           std::string &error) {
  std::optional<std::vector<std::uint32_t>> addresses = ParseRange(range, error);
  for (const std::string &other : excluded) {
    if (!addresses) break;
    const std::optional<std::vector<std::uint32_t>> left = ParseRange(other, error);
    if (!left) return std::nullopt;
    std::erase_if(*addresses, [&](std::uint32_t address) {
      return std::binary_search(left->begin(), left->end(), address);
    });
  }
  return addresses;
}

int RunScan(const std::string &range, const std::vector<std::string> &excluded, ProbeOptions options,
            ScanOutput output) {
  std::string error;
  const std::optional<std::vector<std::uint32_t>> addresses = AddressesToProbe(range, excluded, error);
  if (!addresses) {
    Report(error);
    return kExitUsage;
  }
  if (const int allowed = AllowedParallel(options.parallel); allowed < options.parallel) {
    Report("the limit of open files allows " + std::to_string(allowed) + " probes at once, not " +
           std::to_string(options.parallel));
    options.parallel = allowed;
  }
  std::random_device seed;
  const int tag = std::uniform_int_distribution(0, 9999)(seed);
  const std::string request = relay::BuildCommand(relay::Command::ReportConfig, tag);

  const auto started = std::chrono::steady_clock::now();
  ScanResult result;
  {
    Progress progress(addresses->size());
    result = Identify(
        Probe(*addresses, request, options, [&](std::size_t done) { progress.Show(done); }, Interrupted));
  }
  const std::chrono::duration<double> took = std::chrono::steady_clock::now() - started;

  switch (output) {
    case ScanOutput::Table: std::cout << ScanTable(result.boards, TerminalEncoding()); break;
    case ScanOutput::Json: std::cout << ScanJson(result.boards); break;
    case ScanOutput::Addresses: std::cout << ScanAddresses(result.boards); break;
  }
  std::cout << std::flush;
  for (const std::string &note : result.notBoards) Report(note);
  char summary[160];
  std::snprintf(summary, sizeof summary, "%zu boards in %zu addresses (%.2f s)%s", result.boards.size(),
                addresses->size(), took.count(), Interrupted() ? ", stopped before the end" : "");
  Report(summary);
  return kExitDone;
}

}  // namespace

void AddScanCommand(CLI::App &app, int &status) {
  struct Options {
    std::string range;
    std::vector<std::string> excluded;
    ProbeOptions probe;
    bool json = false, addresses = false;
  };
  auto options = std::make_shared<Options>();
  CLI::App *scan = app.add_subcommand("scan", "Find boards in an address range");
  scan->add_option("range", options->range,
                   "CIDR block (10.0.0.0/24), range (10.0.0.5-10.0.0.40 or 10.0.0.5-40) or address")
      ->required();
  scan->add_option("--exclude", options->excluded, "A range in the same forms whose addresses are not probed (repeatable)")
      ->allow_extra_args(false);
  scan->add_option("--timeout", options->probe.connectTimeoutMs, "Connect bound per address, ms")
      ->check(CLI::Range(1, 60000))
      ->capture_default_str();
  scan->add_option("--reply-timeout", options->probe.replyTimeoutMs, "Bound for a board's reply once connected, ms")
      ->check(CLI::Range(1, 60000))
      ->capture_default_str();
  scan->add_option("--parallel", options->probe.parallel, "Addresses probed at once")
      ->check(CLI::Range(1, 4096))
      ->capture_default_str();
  CLI::Option *json = scan->add_flag("--json", options->json, "A JSON array instead of a table");
  scan->add_flag("--addresses", options->addresses, "Only the boards' addresses, one a line (for apply --to-list)")
      ->excludes(json);
  scan->callback([options, &status] {
    const ScanOutput output =
        options->json ? ScanOutput::Json : options->addresses ? ScanOutput::Addresses : ScanOutput::Table;
    status = RunScan(options->range, options->excluded, options->probe, output);
  });
}

}  // namespace relayctl
