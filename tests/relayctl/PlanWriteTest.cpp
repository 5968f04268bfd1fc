// Differential: for random boards and requests, what `set` and `restore`
// plan with --check is exactly what the board then receives on the write, and
// what the write reports as its changes; no other board receives anything.
// RELAYCTL_PLAN_CASES sets the number of cases (scripts/plan-write runs many),
// RELAYCTL_PLAN_SEED repeats a run; the seed is printed with every failure.
#include <gtest/gtest.h>

#include <cstdlib>
#include <nlohmann/json.hpp>
#include <map>
#include <optional>
#include <random>
#include <sstream>

#include "CtlRun.h"
#include "RuleCases.h"

namespace relayctl::testing {
namespace {

using Json = nlohmann::json;

constexpr char kBoard[] = "127.3.70.10";
constexpr char kBoardPadded[] = "127.003.070.010";
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

// What the random boards and requests are drawn from: the description the
// binding's differential test draws from too.
const Json &Drawn() {
  static const Json drawn = relay::testing::CaseFile("random-boards");
  return drawn;
}

// A drawn text as the board's bytes: a long text spelt out, the board's
// address in place of BOARD0 (three digits a number) and BOARD.
std::string Text(const Json &value) {
  if (value.is_object()) {
    std::string text = value.value("before", "");
    for (int i = 0; i < value["times"].get<int>(); ++i) text += value["repeat"].get<std::string>();
    return relay::testing::BoardBytes(text + value.value("after", ""));
  }
  std::string text = relay::testing::BoardBytes(value.get<std::string>());
  for (const auto &[token, address] : {std::pair{"BOARD0", kBoardPadded}, std::pair{"BOARD", kBoard}}) {
    for (std::size_t at = text.find(token); at != std::string::npos; at = text.find(token, at)) {
      text.replace(at, std::string_view(token).size(), address);
    }
  }
  return text;
}

class Case {
 public:
  explicit Case(std::uint32_t seed) : random_(seed) {}

  bool Chance(int percent) { return std::uniform_int_distribution<int>(1, 100)(random_) <= percent; }
  const Json &OneOf(const Json &choices) {
    return choices[std::uniform_int_distribution<std::size_t>(0, choices.size() - 1)(random_)];
  }
  // A value of `pool`: now and then one of its rare values.
  const Json &Draw(const Json &pool) {
    return OneOf(pool.contains("rare") && Chance(Drawn()["rare_percent"]) ? pool["rare"] : pool["values"]);
  }

  sim::BoardConfig Board() {
    const Json &model = OneOf(Drawn()["models"]);
    const Json &board = Drawn()["board"];
    sim::BoardConfig config;
    config.model = model["remote_control"] ? sim::Model::RemoteControl : sim::Model::Basic;
    config.ipAddr = Text(Draw(board["ip"]));
    config.subMask = Text(Draw(board["mask"]));
    config.gateway = Text(Draw(board["gateway"]));
    config.buttonCfg = model["keys"] ? Text(Draw(board["keys"])) : "";
    config.restoreState = Draw(board["restore"]);
    config.version = Text(Draw(board["version"]));
    config.deviceId = Text(Draw(board["id"]));
    config.password = Text(Draw(board["password"]));
    config.dns = Text(Draw(board["dns"]));
    config.webServer = Text(Draw(board["server"]));
    config.enableWeb = Draw(board["remote"]);
    return config;
  }

  // Mostly what `board` can take; now and then a value the library or the
  // guards refuse, or a setting the board does not have.
  std::vector<std::string> Assignments(const sim::BoardConfig &board) {
    const std::map<std::string, bool> has = {
        {"", true}, {"remote_control", board.model == sim::Model::RemoteControl}, {"keys", !board.buttonCfg.empty()}};
    std::vector<std::string> assignments;
    bool keyModes = false;  // key modes go either as keys or as one key's mode
    for (const auto &[name, pool] : Drawn()["request"].items()) {
      const bool needsKeys = pool.value("needs", "") == "keys";
      if ((needsKeys && keyModes) || !Chance(has.at(pool.value("needs", "")) ? 35 : 3)) continue;
      keyModes = keyModes || needsKeys;
      assignments.push_back(Assignment(name, Draw(pool)));
    }
    if (assignments.empty()) assignments.push_back(Assignment("restore", Draw(Drawn()["request"]["restore"])));
    return assignments;
  }

  // The board's own backup, edited or not.
  void Edit(Json &backup) {
    if (!Chance(50)) return;
    const Json &request = Drawn()["request"];
    Json &settings = backup["settings"];
    if (Chance(50)) settings["gateway"] = JsonText(Text(Draw(request["gateway"])));
    if (Chance(50)) settings["restore"] = Draw(request["restore"]);
    if (settings["keys"].is_string() && Chance(50)) settings["keys"] = Draw(request["keys"]);
    if (settings["remote"].is_boolean() && Chance(50)) settings["remote"] = Draw(request["remote"]);
    if (settings["server"].is_string() && Chance(50)) settings["server"] = JsonText(Text(Draw(request["server"])));
  }

 private:
  // NAME=VALUE of a drawn value; "key" names a key drawn 1..8.
  std::string Assignment(const std::string &name, const Json &value) {
    if (value.is_boolean()) return name + (value ? "=on" : "=off");
    const std::string key = name == "key" ? std::to_string(std::uniform_int_distribution<int>(1, 8)(random_)) : "";
    return name + key + "=" + Text(value);
  }

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
  std::map<char, std::string> settings;  // by command code
  for (const auto &[name, code] : Drawn()["commands"].items()) settings[code.get<std::string>()[0]] = name;
  Received received;
  for (const std::string &frame : frames) {
    const char command = frame.size() > 1 ? frame[1] : '?';
    if (command == '1') continue;
    const auto setting = settings.find(command);
    if (setting != settings.end() && setting->second == "restart") {
      received.restarted = true;
      continue;
    }
    const std::size_t comma = frame.find(',');
    if (setting == settings.end() || comma == std::string::npos || received.restarted) {
      received.other = true;
      continue;
    }
    const std::string value = frame.substr(comma + 1, frame.size() - comma - 2);
    Json after = JsonText(value);
    if (setting->second == "restore" || setting->second == "remote") after = value == "1";
    if (setting->second == "password") after = "********";
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

// The same for many boards in one run: apply of one drawn backup to a fleet
// of drawn boards, all at once. Each board receives what the plan said for
// it, and the write reports just that. RELAYCTL_PLAN_BOARDS sets the fleet's size.
TEST(PlanWrite, EveryBoardOfARunReceivesItsOwnPlan) {
  const int boards = FromEnvironment("RELAYCTL_PLAN_BOARDS", 300);
  const auto seed = static_cast<std::uint32_t>(FromEnvironment("RELAYCTL_PLAN_SEED", std::random_device{}()));
  SCOPED_TRACE("RELAYCTL_PLAN_SEED=" + std::to_string(seed));
  TestFleet fleet("127.3.72.1", boards, {"remote"});
  Case random(seed);
  std::vector<std::string> apply = {"apply", TempPath("fleet-backup.json"), "--json", "--to"};
  std::optional<Json> backup;
  for (int i = 0; i < boards; ++i) {
    sim::BoardConfig config = random.Board();
    config.ipAddr = fleet.Address(i);  // a board that moves would land on another test's
    fleet.Board(i).SetConfig(config);
    apply.push_back(fleet.Address(i));
    if (!backup && RunCtl({"backup", fleet.Address(i), "-o", apply[1]}).status == 0) {
      backup = Json::parse(ReadAll(apply[1]));
    }
  }
  ASSERT_TRUE(backup) << "no board could be read";
  random.Edit(*backup);
  WriteAll(apply[1], backup->dump());
  // Each board's JSON object of a run, by its address.
  const auto byBoard = [](const CtlResult &run) {
    std::map<std::string, Json> results;
    std::istringstream lines(run.out);
    for (std::string line; std::getline(lines, line);) {
      const Json result = Json::parse(line, nullptr, false);
      if (result.contains("address")) results[result["address"]] = result;
    }
    return results;
  };
  std::vector<std::string> check = apply;
  check.push_back("--check");
  const std::map<std::string, Json> plans = byBoard(RunCtl(check));
  for (int i = 0; i < boards; ++i) fleet.Board(i).ClearFrames();
  const std::map<std::string, Json> written = byBoard(RunCtl(apply));
  ASSERT_EQ(plans.size(), static_cast<std::size_t>(boards));
  ASSERT_EQ(written.size(), static_cast<std::size_t>(boards));
  for (int i = 0; i < boards && !HasFailure(); ++i) {
    const Json &plan = plans.at(fleet.Address(i));
    const Json &write = written.at(fleet.Address(i));
    const Received received = WhatWasReceived(fleet.Board(i).Frames());
    SCOPED_TRACE(fleet.Address(i) + ": " + sim::CfgReply(fleet.Board(i).Config()) + "\nplan: " + plan.dump());
    EXPECT_FALSE(received.other);
    EXPECT_EQ(Afters(plan["changes"]), received.changes);
    EXPECT_EQ(plan["changes"], write["changes"]) << write.dump();
    EXPECT_EQ(received.restarted, !received.changes.empty());
  }
}

}  // namespace
}  // namespace relayctl::testing
