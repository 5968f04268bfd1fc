// relaysim: a stand-in relay board on a loopback address, printing every
// frame it receives and every reply it sends.
#include <atomic>
#include <csignal>
#include <fstream>
#include <iostream>
#include <map>
#include <sstream>
#include <thread>

#include "RelaySim.h"
#include "SimConfigFile.h"

namespace {

using relay::sim::Fault;
using relay::sim::FaultKind;

std::atomic<bool> stopRequested{false};

void RequestStop(int) { stopRequested = true; }

const char kUsage[] =
    "usage: relaysim [--address 127.0.0.1] [--port 5111] [--config FILE] [NAME=VALUE...] [faults]\n"
    "  NAME=VALUE  board settings: model=basic|remote ip= mask= gateway= keys=DIGITS|none\n"
    "              restore=on|off version= id= password= dns= server= remote=on|off\n"
    "  faults (each optionally for one command code, e.g. --refuse 3):\n"
    "    --no-answer [CMD]  --close [CMD]  --close-mid-reply [CMD]  --reset [CMD]\n"
    "    --lower-case [CMD] --trailing [CMD] --split [CMD] --one-byte [CMD]\n"
    "    --refuse [CMD]     --garbage [CMD]  --huge [CMD]  --ack-only [CMD]\n"
    "    --delay MS         --split-pause MS --raw-reply TEXT  --restart-silence MS\n";

const std::map<std::string, FaultKind> kFaultOptions = {
    {"--no-answer", FaultKind::NoAnswer},         {"--close", FaultKind::CloseWithoutAnswer},
    {"--close-mid-reply", FaultKind::CloseMidReply}, {"--reset", FaultKind::Reset},
    {"--lower-case", FaultKind::LowerCaseAck},    {"--trailing", FaultKind::TrailingBytes},
    {"--split", FaultKind::SplitReply},           {"--one-byte", FaultKind::OneBytePieces},
    {"--refuse", FaultKind::Refuse},              {"--garbage", FaultKind::Garbage},
    {"--huge", FaultKind::HugeReply},             {"--ack-only", FaultKind::AckWithoutApplying},
};

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

}  // namespace

int main(int argc, char **argv) {
  std::string address = "127.0.0.1";
  int port = 5111;
  relay::sim::BoardConfig config;
  relay::sim::SimOptions options;

  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    const bool hasNext = i + 1 < argc;
    const auto next = [&] { return std::string(argv[++i]); };
    if (arg == "--help" || arg == "-h") {
      std::cout << kUsage;
      return 0;
    } else if (arg == "--address" && hasNext) {
      address = next();
    } else if (arg == "--port" && hasNext) {
      port = std::stoi(next());
    } else if (arg == "--config" && hasNext) {
      std::string text, error;
      const std::string path = next();
      if (!ReadFile(path, text)) return Fail("cannot read " + path);
      if (!relay::sim::ApplyConfigText(config, text, error)) return Fail(path + ", " + error);
    } else if (arg == "--delay" && hasNext) {
      options.replyDelayMs = std::stoi(next());
    } else if (arg == "--split-pause" && hasNext) {
      options.splitPauseMs = std::stoi(next());
    } else if (arg == "--restart-silence" && hasNext) {
      options.restartSilenceMs = std::stoi(next());
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
  if (address.rfind("127.", 0) != 0) return Fail("only loopback addresses (127.x.y.z) are served");

  relay::sim::RelaySim sim(config, options);
  sim.SetTrace([](const std::string &line) { std::cout << line << std::endl; });
  if (!sim.Start(address, static_cast<std::uint16_t>(port))) {
    std::cerr << "relaysim: cannot listen on " << address << ":" << port << "\n";
    return 1;
  }
  std::cout << "relaysim: board listening on " << address << ":" << port << " (Ctrl+C stops it)" << std::endl;
  std::signal(SIGINT, RequestStop);
  std::signal(SIGTERM, RequestStop);
  while (!stopRequested) std::this_thread::sleep_for(std::chrono::milliseconds(100));
  sim.Stop();
  return 0;
}
