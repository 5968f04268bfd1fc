// Differential: for random boards and requests, what `set` and `restore`
// plan with --check is exactly what the board then receives on the write, and
// what the write reports as its changes; no other board receives anything.
// RELAYCTL_PLAN_CASES sets the number of cases (scripts/plan-write runs many),
// RELAYCTL_PLAN_SEED repeats a run; the seed is printed with every failure.
#include <gtest/gtest.h>

#include <cstdlib>
#include <nlohmann/json.hpp>
#include <random>

#include "CtlRun.h"

namespace relayctl::testing {
namespace {

using Json = nlohmann::json;

constexpr char kBoard[] = "127.3.70.10";
constexpr char kNeighbour[] = "127.3.70.11";

// A board's bytes as relayctl's JSON carries them: each byte the character
// of the same number.
std::string JsonText(const std::string &bytes) {
  std::string text;
  for (const char c : bytes) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x80) {
      text += c;
    } else {
      text += static_cast<char>(0xC0 | (byte >> 6));
      text += static_cast<char>(0x80 | (byte & 0x3F));
    }
  }
  return text;
}

class Case {
 public:
  explicit Case(std::uint32_t seed) : random_(seed) {}

  bool Chance(int percent) { return std::uniform_int_distribution<int>(1, 100)(random_) <= percent; }
  template <typename T>
  const T &OneOf(const std::vector<T> &choices) {
    return choices[std::uniform_int_distribution<std::size_t>(0, choices.size() - 1)(random_)];
  }
  std::string Digits(std::size_t count, char low, char high) {
    std::string text;
    for (std::size_t i = 0; i < count; ++i) text += std::uniform_int_distribution<int>(low, high)(random_);
    return text;
  }

  // Any model, texts untrimmed or beyond 200 bytes, key modes that are no
  // digit, addresses with leading zeros.
  sim::BoardConfig Board() {
    sim::BoardConfig config;
    const int model = std::uniform_int_distribution<int>(0, 2)(random_);
    config.model = model == 0 ? sim::Model::RemoteControl : sim::Model::Basic;
    config.ipAddr = OneOf<std::string>({kBoard, "127.003.070.010", "127.3.070.10"});
    config.subMask = OneOf<std::string>({"255.0.0.0", "255.255.255.000"});
    config.gateway = OneOf<std::string>({"127.3.70.1", "127.0.0.254", "127.003.070.001"});
    // In octal: \351 is é and \377 is ÿ, in ISO-8859-1 as the board sends them.
    config.buttonCfg = model == 2   ? ""
                       : Chance(70) ? Digits(8, '1', '3')
                                    : OneOf<std::string>({"34\35121131", "0x1-2\37733"});
    config.restoreState = Chance(50);
    config.version = Chance(20) ? std::string(260, 'v') : "7";
    config.password = Digits(6, '0', '9');
    config.dns = OneOf<std::string>({"127.0.0.53", "127.000.000.053"});
    config.webServer = OneOf<std::string>(
        {"relay.example.net", "relay.example.net  ", " relay.example.net", std::string(260, 's'), "\377relay"});
    config.enableWeb = Chance(50);
    return config;
  }

  // Mostly what `board` can take; now and then a value the library or the
  // guards refuse, or a setting the board does not have.
  std::vector<std::string> Assignments(const sim::BoardConfig &board) {
    struct Setting {
      bool remote, keys;
      std::vector<std::string> values, refused;
    };
    const Setting settings[] = {
        {false, false, {"ip=127.3.70.10", "ip=127.003.070.010", "ip= 127.3.70.10 "}, {"ip=127.3.70"}},
        {false, false, {"mask=255.0.0.0", "mask=255.000.0.0"}, {"mask=255.255.0.0"}},
        {false,
         false,
         {"gateway=127.3.70.1", "gateway= 127.003.070.001", "gateway=127.0.0.254"},
         {"gateway=127.3.70.300"}},
        {false, true, {"keys=" + Digits(8, '1', '3'), "key3=jog", "key1=keep", "key8=2"}, {}},
        {false, false, {"restore=on", "restore=off"}, {}},
        {true, false, {"remote=on", "remote=off"}, {}},
        {true, false, {"dns=127.0.0.53", "dns=127.000.000.054"}, {"dns=nowhere"}},
        {true,
         false,
         {"server=relay.example.net", "server= relay.example.net ", "server=other.example"},
         {"server=" + std::string(45, 'o'), "server=a;b"}},
        {true, false, {"password=" + Digits(6, '0', '9'), "password= 123456 "}, {"password=12"}},
    };
    const bool remote = board.model == sim::Model::RemoteControl, keys = !board.buttonCfg.empty();
    std::vector<std::string> assignments;
    for (const Setting &setting : settings) {
      const bool takes = (remote || !setting.remote) && (keys || !setting.keys);
      if (!Chance(takes ? 35 : 3)) continue;
      const bool refused = !setting.refused.empty() && Chance(8);
      assignments.push_back(OneOf(refused ? setting.refused : setting.values));
    }
    if (assignments.empty()) assignments.push_back(OneOf(settings[4].values));
    return assignments;
  }

  // The board's own backup, edited or not.
  void Edit(Json &backup) {
    if (!Chance(50)) return;
    Json &settings = backup["settings"];
    if (Chance(50)) settings["gateway"] = OneOf<std::string>({"127.0.0.254", " 127.003.070.001"});
    if (Chance(50)) settings["restore"] = Chance(50);
    if (settings["keys"].is_string() && Chance(50)) settings["keys"] = Digits(8, '1', '3');
    if (settings["remote"].is_boolean() && Chance(50)) settings["remote"] = Chance(50);
    if (settings["server"].is_string() && Chance(50)) {
      settings["server"] = OneOf<std::string>({"relay.example.net", " relay.example.net\t", "other.example"});
    }
  }

 private:
  std::mt19937 random_;
};

// The first JSON line relayctl printed: the board's result.
Json BoardResult(const CtlResult &run) { return Json::parse(run.out.substr(0, run.out.find('\n')), nullptr, false); }

// What the board received after its read, as relayctl reports changes
// (setting and value after): the writes, and whether a restart followed.
struct Received {
  Json changes = Json::array();
  bool restarted = false;
  bool other = false;  // a frame no save sends
};
Received WhatWasReceived(const std::vector<std::string> &frames) {
  static const std::map<char, const char *> kSettings = {{'2', "ip"},   {'3', "mask"},    {'4', "gateway"},
                                                         {'5', "keys"}, {'6', "restore"}, {'A', "remote"},
                                                         {'8', "dns"},  {'9', "server"},  {'B', "password"}};
  Received received;
  for (const std::string &frame : frames) {
    const char command = frame.size() > 1 ? frame[1] : '?';
    if (command == '1') continue;
    if (command == '7') {
      received.restarted = true;
      continue;
    }
    const auto setting = kSettings.find(command);
    const std::size_t comma = frame.find(',');
    if (setting == kSettings.end() || comma == std::string::npos || received.restarted) {
      received.other = true;
      continue;
    }
    const std::string value = frame.substr(comma + 1, frame.size() - comma - 2);
    Json after = JsonText(value);
    if (command == '6' || command == 'A') after = value == "1";
    if (command == 'B') after = "********";
    received.changes.push_back({{"setting", setting->second}, {"after", after}});
  }
  return received;
}

// The changes without their values before, to compare with the frames.
Json Afters(const Json &changes) {
  Json afters = Json::array();
  for (const Json &change : changes) afters.push_back({{"setting", change["setting"]}, {"after", change["after"]}});
  return afters;
}

int FromEnvironment(const char *name, int otherwise) {
  const char *text = std::getenv(name);
  return text ? std::atoi(text) : otherwise;
}

TEST(PlanWrite, ThePlanIsWhatTheBoardReceivesAndWhatIsReported) {
  const int cases = FromEnvironment("RELAYCTL_PLAN_CASES", 300);
  const auto seed = static_cast<std::uint32_t>(FromEnvironment("RELAYCTL_PLAN_SEED", std::random_device{}()));
  sim::RelaySim board, neighbour;
  ASSERT_TRUE(board.Start(kBoard) && neighbour.Start(kNeighbour));
  const std::string backupPath = TempPath("backup.json");
  for (int index = 0; index < cases && !HasFailure(); ++index) {
    Case random(seed + static_cast<std::uint32_t>(index));
    board.SetConfig(random.Board());
    std::vector<std::string> command;
    if (random.Chance(30)) {
      ASSERT_EQ(RunCtl({"backup", kBoard, "-o", backupPath}).status, 0);
      Json backup = Json::parse(ReadAll(backupPath));
      random.Edit(backup);
      WriteAll(backupPath, backup.dump());
      command = {"restore", kBoard, backupPath};
    } else {
      command = {"set", kBoard};
      for (const std::string &assignment : random.Assignments(board.Config())) command.push_back(assignment);
    }
    if (random.Chance(30)) command.push_back("--force");
    command.push_back("--json");
    std::string line;
    for (const std::string &argument : command) line += " '" + argument + "'";
    SCOPED_TRACE("RELAYCTL_PLAN_SEED=" + std::to_string(seed) + " case " + std::to_string(index) + ": relayctl" + line +
                 "\nboard: " + sim::CfgReply(board.Config()));

    board.ClearFrames();
    std::vector<std::string> check = command;
    check.push_back("--check");
    const CtlResult planRun = RunCtl(check);
    const Json plan = BoardResult(planRun);
    ASSERT_TRUE(plan.is_object()) << planRun.out << planRun.err;
    EXPECT_TRUE(WhatWasReceived(board.Frames()).changes.empty()) << "a plan wrote";

    board.ClearFrames();
    const CtlResult writeRun = RunCtl(command);
    const Json written = BoardResult(writeRun);
    ASSERT_TRUE(written.is_object()) << writeRun.out << writeRun.err;
    const Received received = WhatWasReceived(board.Frames());

    EXPECT_FALSE(received.other);
    EXPECT_EQ(Afters(plan["changes"]), received.changes) << "the plan: " << plan.dump();
    EXPECT_EQ(plan["changes"], written["changes"]) << "the report: " << written.dump();
    EXPECT_EQ(written["changed"], !received.changes.empty()) << written.dump();
    EXPECT_EQ(plan["changed"], !received.changes.empty()) << plan.dump();
    EXPECT_EQ(received.restarted, !received.changes.empty());
    const int planned = plan["exit_status"];
    const int status = written["exit_status"];
    EXPECT_EQ(planned, received.changes.empty() ? status : 5) << plan.dump();
    EXPECT_TRUE(neighbour.Frames().empty()) << neighbour.Frames().front();
  }
  std::remove(backupPath.c_str());
}

}  // namespace
}  // namespace relayctl::testing
