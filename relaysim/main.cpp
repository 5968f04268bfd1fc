// relaysim: a stand-in relay board on a loopback address, or a fleet of them
// on consecutive addresses, printing every frame received and reply sent.
#include <atomic>
#include <charconv>
#include <csignal>
#include <fstream>
#include <iostream>
#include <map>
#include <mutex>
#include <sstream>
#include <thread>

#include "RelaySim.h"
#include "SimConfigFile.h"
#include "SimFleet.h"

namespace {

using relay::sim::Fault;
using relay::sim::FaultKind;

std::atomic<bool> stopRequested{false};

void RequestStop(int) { stopRequested = true; }

const char kUsage[] =
    "usage: relaysim [--address 127.0.0.1] [--port 5111] [--config FILE] [NAME=VALUE...] [faults]\n"
    "       relaysim --fleet N [--first 127.0.0.10] [--models remote,keys,basic] [NAME=VALUE...] [faults]\n"
    "  --fleet N   N boards on consecutive addresses from --first, models taken in turn\n"
    "              from --models; each board's ip and id follow from its address\n"
    "  NAME=VALUE  board settings: model=basic|remote ip= mask= gateway= keys=DIGITS|none\n"
    "              restore=on|off version= id= password= dns= server= remote=on|off\n"
    "  faults (each optionally for one command code, e.g. --refuse 3):\n"
    "    --no-answer [CMD]  --close [CMD]  --close-mid-reply [CMD]  --reset [CMD]\n"
    "    --lower-case [CMD] --trailing [CMD] --split [CMD] --one-byte [CMD]\n"
    "    --refuse [CMD]     --garbage [CMD]  --huge [CMD]  --ack-only [CMD]\n"
    "    --close-after [CMD]  (the whole reply, then close)\n"
    "    --delay MS         --split-pause MS --raw-reply TEXT  --restart-silence MS\n";

const std::map<std::string, FaultKind> kFaultOptions = {
    {"--no-answer", FaultKind::NoAnswer},         {"--close", FaultKind::CloseWithoutAnswer},
    {"--close-mid-reply", FaultKind::CloseMidReply}, {"--reset", FaultKind::Reset},
    {"--lower-case", FaultKind::LowerCaseAck},    {"--trailing", FaultKind::TrailingBytes},
    {"--split", FaultKind::SplitReply},           {"--one-byte", FaultKind::OneBytePieces},
    {"--refuse", FaultKind::Refuse},              {"--garbage", FaultKind::Garbage},
    {"--huge", FaultKind::HugeReply},             {"--ack-only", FaultKind::AckWithoutApplying},
    {"--close-after", FaultKind::CloseAfterReply},
};

std::vector<std::string> SplitList(const std::string &text) {
  std::vector<std::string> items;
  std::istringstream stream(text);
  for (std::string item; std::getline(stream, item, ',');) items.push_back(item);
  return items;
}

int Fail(const std::string &message) {
  std::cerr << "relaysim: " << message << "\n" << kUsage;
  return 64;
}

bool ReadFile(const std::string &path, std::string &text) {
  std::ifstream file(path);
  std::ostringstream content;
  content << file.rdbuf();
  text = content.str();
  return static_cast<bool>(file);
}

// A whole decimal number into `value`; false for anything else.
bool ReadNumber(const std::string &text, int &value) {
  const char *end = text.data() + text.size();
  const auto result = std::from_chars(text.data(), end, value);
  return result.ec == std::errc() && result.ptr == end;
}

void WaitForStop() {
  while (!stopRequested) std::this_thread::sleep_for(std::chrono::milliseconds(100));
}

int RunFleet(const relay::sim::BoardConfig &base, const relay::sim::SimOptions &options, int size,
             const std::string &first, const std::vector<std::string> &models) {
  const auto plan = relay::sim::PlanFleet(base, size, first, models);
  if (!plan) return Fail("--first must be a 127.x.y.z address with room for the fleet, --models remote|keys|basic");
  relay::sim::SimFleet fleet;
  if (!fleet.Start(*plan, options)) {
    std::cerr << "relaysim: cannot listen on every address from " << first << "\n";
    return 1;
  }
  static std::mutex printing;
  for (std::size_t i = 0; i < fleet.Size(); ++i) {
    const std::string prefix = (*plan)[i].address + " ";
    fleet.Board(i).SetTrace([prefix](const std::string &line) {
      std::lock_guard lock(printing);
      std::cout << prefix << line << std::endl;
    });
    std::cout << "relaysim: " << models[i % models.size()] << " board listening on " << (*plan)[i].address
              << ":5111" << std::endl;
  }
  std::cout << "relaysim: " << fleet.Size() << " boards (Ctrl+C stops them)" << std::endl;
  WaitForStop();
  fleet.Stop();
  return 0;
}

}  // namespace

int main(int argc, char **argv) {
  std::string address = "127.0.0.1";
  int port = 5111;
  relay::sim::BoardConfig config;
  relay::sim::SimOptions options;
  int fleetSize = 0;
  std::string first = "127.0.0.10";
  std::vector<std::string> models = {"remote", "keys", "basic"};

  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    const bool hasNext = i + 1 < argc;
    const auto next = [&] { return std::string(argv[++i]); };
    if (arg == "--help" || arg == "-h") {
      std::cout << kUsage;
      return 0;
    } else if (arg == "--address" && hasNext) {
      address = next();
    } else if (arg == "--fleet" && hasNext) {
      if (!ReadNumber(next(), fleetSize)) return Fail("a number must follow " + arg);
    } else if (arg == "--first" && hasNext) {
      first = next();
    } else if (arg == "--models" && hasNext) {
      models = SplitList(next());
    } else if (arg == "--port" && hasNext) {
      if (!ReadNumber(next(), port) || port < 1 || port > 65535) return Fail("a port 1..65535 must follow " + arg);
    } else if (arg == "--config" && hasNext) {
      std::string text, error;
      const std::string path = next();
      if (!ReadFile(path, text)) return Fail("cannot read " + path);
      if (!relay::sim::ApplyConfigText(config, text, error)) return Fail(path + ", " + error);
    } else if (arg == "--delay" && hasNext) {
      if (!ReadNumber(next(), options.replyDelayMs)) return Fail("a number must follow " + arg);
    } else if (arg == "--split-pause" && hasNext) {
      if (!ReadNumber(next(), options.splitPauseMs)) return Fail("a number must follow " + arg);
    } else if (arg == "--restart-silence" && hasNext) {
      if (!ReadNumber(next(), options.restartSilenceMs)) return Fail("a number must follow " + arg);
    } else if (arg == "--raw-reply" && hasNext) {
      options.rawCfgReply = next();
    } else if (const auto fault = kFaultOptions.find(arg); fault != kFaultOptions.end()) {
      Fault entry{fault->second};
      if (hasNext && std::string(argv[i + 1]).size() == 1) entry.command = next()[0];
      options.faults.push_back(entry);
    } else if (const auto equals = arg.find('='); equals != std::string::npos) {
      if (!relay::sim::ApplySetting(config, arg.substr(0, equals), arg.substr(equals + 1))) {
        return Fail("bad setting " + arg);
      }
    } else {
      return Fail("unknown argument " + arg);
    }
  }
  std::signal(SIGINT, RequestStop);
  std::signal(SIGTERM, RequestStop);
  if (fleetSize > 0) return RunFleet(config, options, fleetSize, first, models);
  if (address.rfind("127.", 0) != 0) return Fail("only loopback addresses (127.x.y.z) are served");

  relay::sim::RelaySim sim(config, options);
  sim.SetTrace([](const std::string &line) { std::cout << line << std::endl; });
  if (!sim.Start(address, static_cast<std::uint16_t>(port))) {
    std::cerr << "relaysim: cannot listen on " << address << ":" << port << "\n";
    return 1;
  }
  std::cout << "relaysim: board listening on " << address << ":" << port << " (Ctrl+C stops it)" << std::endl;
  WaitForStop();
  sim.Stop();
  return 0;
}
