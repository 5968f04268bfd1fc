// relaysim: a stand-in relay board on a loopback address, or a fleet of them
// on consecutive addresses, printing every frame received and reply sent.
// Exit status: 0 stopped by SIGINT or SIGTERM, 1 an address that cannot be
// listened on, 64 a usage error.
#include <CLI/CLI.hpp>

#include <atomic>
#include <csignal>
#include <cstddef>
#include <fstream>
#include <iostream>
#include <map>
#include <mutex>
#include <thread>

#include "RelaySim.h"
#include "SimAddress.h"
#include "SimConfigFile.h"
#include "SimFleet.h"

namespace {

using relay::sim::Fault;
using relay::sim::FaultKind;

constexpr int kExitUsage = 64;
// --config files are refused beyond this size, as relayctl's input files are.
constexpr std::size_t kMaxConfigFileBytes = 1 << 20;

std::atomic<bool> stopRequested{false};

void RequestStop(int) { stopRequested = true; }

struct FaultOption {
  const char *name;
  FaultKind kind;
  const char *help;
};

const FaultOption kFaultOptions[] = {
    {"--no-answer", FaultKind::NoAnswer, "Read the frame, never answer"},
    {"--close", FaultKind::CloseWithoutAnswer, "Close the connection instead of answering"},
    {"--close-mid-reply", FaultKind::CloseMidReply, "Send the first half of the reply, then close"},
    {"--reset", FaultKind::Reset, "Drop the connection with a reset"},
    {"--lower-case", FaultKind::LowerCaseAck, "Answer in small letters (>ok;)"},
    {"--trailing", FaultKind::TrailingBytes, "Send CR LF after the reply, in the same piece"},
    {"--split", FaultKind::SplitReply, "Send the reply in two pieces, --split-pause apart"},
    {"--one-byte", FaultKind::OneBytePieces, "Send the reply one byte at a time"},
    {"--refuse", FaultKind::Refuse, "Answer >ERR;"},
    {"--garbage", FaultKind::Garbage, "Answer with bytes that are no frame"},
    {"--huge", FaultKind::HugeReply, "Answer with 1 MiB without an end"},
    {"--ack-only", FaultKind::AckWithoutApplying, "Acknowledge writes without applying them"},
    {"--close-after", FaultKind::CloseAfterReply, "Send the whole reply, then close"},
};

const CLI::Validator kLoopbackQuad(
    [](const std::string &text) {
      return relay::sim::IsLoopbackQuad(text) ? std::string()
                                              : "only loopback addresses (127.x.y.z, decimal) are served: " + text;
    },
    "127.x.y.z");

const CLI::Range kMilliseconds(0, 3600 * 1000);  // up to an hour

const CLI::Validator kCommandCode(
    [](const std::string &text) {
      return text.empty() || (text.size() == 1 && relay::sim::IsCommandCode(text[0]))
                 ? std::string()
                 : "not a command code: " + text;
    },
    "CMD");

int UsageError(const CLI::App &app, const CLI::Error &error) {
  app.exit(error);
  return kExitUsage;
}

// The --config file's content, or an error naming the file. Reads at most one
// byte past the limit, so that an endless file such as /dev/zero is refused
// at once.
bool ReadConfigFile(const std::string &path, std::string &text, std::string &error) {
  std::ifstream file(path, std::ios::binary);
  text.resize(kMaxConfigFileBytes + 1);
  file.read(text.data(), static_cast<std::streamsize>(text.size()));
  text.resize(static_cast<std::size_t>(file.gcount()));
  if (!file.is_open() || file.bad()) {
    error = "cannot read " + path;
    return false;
  }
  if (text.size() > kMaxConfigFileBytes) {
    error = path + ": larger than 1 MiB, the limit for configuration files";
    return false;
  }
  return true;
}

// The fault options in the order given, each for its command code or, given
// without one, for every command.
std::vector<Fault> FaultsInOrder(const CLI::App &app) {
  std::map<const CLI::Option *, std::size_t> used;
  std::vector<Fault> faults;
  for (const CLI::Option *option : app.parse_order()) {
    for (const FaultOption &fault : kFaultOptions) {
      if (option->check_name(fault.name)) {
        const std::string &command = option->results().at(used[option]++);
        faults.push_back(Fault{fault.kind, command.empty() ? '\0' : command[0]});
      }
    }
  }
  return faults;
}

void WaitForStop() {
  while (!stopRequested) std::this_thread::sleep_for(std::chrono::milliseconds(50));
}

int RunFleet(const std::vector<relay::sim::FleetBoard> &plan, const relay::sim::SimOptions &options,
             const std::vector<std::string> &models) {
  relay::sim::SimFleet fleet;
  if (!fleet.Start(plan, options)) {
    std::cerr << "relaysim: cannot listen on every address from " << plan.front().address << "\n";
    return 1;
  }
  static std::mutex printing;
  for (std::size_t i = 0; i < fleet.Size(); ++i) {
    const std::string prefix = plan[i].address + " ";
    fleet.Board(i).SetTrace([prefix](const std::string &line) {
      std::lock_guard lock(printing);
      std::cout << prefix << line << std::endl;
    });
    std::cout << "relaysim: " << models[i % models.size()] << " board listening on " << plan[i].address << ":5111"
              << std::endl;
  }
  std::cout << "relaysim: " << fleet.Size() << " boards (Ctrl+C stops them)" << std::endl;
  WaitForStop();
  return 0;
}

int RunBoard(const relay::sim::BoardConfig &config, const relay::sim::SimOptions &options,
             const std::string &address, std::uint16_t port) {
  relay::sim::RelaySim sim(config, options);
  sim.SetTrace([](const std::string &line) { std::cout << line << std::endl; });
  if (!sim.Start(address, port)) {
    std::cerr << "relaysim: cannot listen on " << address << ":" << port << "\n";
    return 1;
  }
  std::cout << "relaysim: board listening on " << address << ":" << port << " (Ctrl+C stops it)" << std::endl;
  WaitForStop();
  return 0;
}

}  // namespace

int main(int argc, char **argv) {
  CLI::App app{"relaysim: a stand-in relay board on a loopback address, or a fleet of them"};
  app.set_version_flag("--version", "relaysim " RELAY_VERSION);
  app.footer(
      "Settings on the command line override those of --config. A fault given without CMD applies to every command.\n"
      "Exit status: 0 stopped by SIGINT or SIGTERM, 1 an address that cannot be listened on, 64 usage.");

  std::string address = "127.0.0.1", configPath, first = "127.0.0.10";
  std::uint16_t port = 5111;
  int fleetSize = 0;
  std::vector<std::string> settings, models = {"remote", "keys", "basic"};
  relay::sim::SimOptions options;

  app.add_option("settings", settings,
                 "NAME=VALUE: model=basic|remote, ip, mask, gateway, dns (dotted quads), keys=DIGITS|none, "
                 "restore=on|off, version, id (14 characters), password (6 digits), server, remote=on|off; "
                 "ip defaults to --address");
  app.add_option("--address", address, "Loopback address of the board")->check(kLoopbackQuad)->capture_default_str();
  app.add_option("--port", port, "TCP port")->check(CLI::Range(1, 65535))->capture_default_str();
  app.add_option("--config", configPath, "File of 'name = value' settings ('#' starts a comment), at most 1 MiB")
      ->check(CLI::ExistingFile);
  CLI::Option *fleet =
      app.add_option("--fleet", fleetSize, "Run N boards on consecutive addresses from --first, models in turn; "
                                           "each board's ip and id follow from its address")
          ->check(CLI::Range(1, relay::sim::kMaxFleetBoards));
  app.add_option("--first", first, "First address of the fleet")->check(kLoopbackQuad)->capture_default_str()->needs(fleet);
  app.add_option("--models", models, "Models of the fleet in turn: remote, keys, basic")
      ->delimiter(',')
      ->check(CLI::IsMember({"remote", "keys", "basic"}))
      ->needs(fleet);
  app.add_option("--delay", options.replyDelayMs, "Milliseconds before every reply")->check(kMilliseconds);
  app.add_option("--split-pause", options.splitPauseMs, "Milliseconds between the pieces of --split")
      ->check(kMilliseconds)
      ->capture_default_str();
  app.add_option("--restart-silence", options.restartSilenceMs, "Milliseconds of not listening after a restart")
      ->check(kMilliseconds);
  app.add_option("--raw-reply", options.rawCfgReply, "Answer the read command with this text");
  for (const FaultOption &fault : kFaultOptions) {
    app.add_option(fault.name, fault.help)
        ->expected(0, 1)
        ->allow_extra_args(false)
        ->multi_option_policy(CLI::MultiOptionPolicy::TakeAll)
        ->check(kCommandCode)
        ->group("Faults (each optionally for one command code CMD)");
  }
  app.fallthrough(false);

  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError &error) {
    return app.exit(error) == 0 ? 0 : kExitUsage;
  }
  options.faults = FaultsInOrder(app);

  relay::sim::BoardConfig config;
  config.ipAddr.clear();  // the board's own address unless a setting gives one
  if (!configPath.empty()) {
    std::string text, error;
    if (!ReadConfigFile(configPath, text, error)) return UsageError(app, CLI::ValidationError("--config", error));
    if (!relay::sim::ApplyConfigText(config, text, error)) {
      return UsageError(app, CLI::ValidationError("--config", configPath + ", " + error));
    }
  }
  for (const std::string &setting : settings) {
    const std::size_t equals = setting.find('=');
    if (equals == std::string::npos ||
        !relay::sim::ApplySetting(config, setting.substr(0, equals), setting.substr(equals + 1))) {
      return UsageError(app, CLI::ValidationError("settings", "bad setting " + setting));
    }
  }
  if (config.ipAddr.empty()) config.ipAddr = address;

  std::signal(SIGINT, RequestStop);
  std::signal(SIGTERM, RequestStop);
  if (*fleet) {
    const auto plan = relay::sim::PlanFleet(config, fleetSize, first, models);
    if (!plan) return UsageError(app, CLI::ValidationError("--first", "no room for the fleet before 128.0.0.0"));
    return RunFleet(*plan, options, models);
  }
  return RunBoard(config, options, address, port);
}
