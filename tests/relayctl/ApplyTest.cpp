// apply: one backup onto many boards.
#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <thread>

#include "CtlRun.h"

namespace relayctl::testing {
namespace {

// A backup edited by hand: network addresses that apply must leave alone, and
// two settings for every board.
const char kFleetBackup[] = R"({
  "format": "relayctl-backup",
  "format_version": 1,
  "capabilities": {"remote_control": true, "keys": true},
  "settings": {"ip": "127.3.20.99", "gateway": "127.0.0.1", "restore": true, "server": "fleet.example.net"}
})";

std::vector<std::string> SortedLines(const std::string &text) {
  std::vector<std::string> lines;
  for (std::size_t start = 0, end; (end = text.find('\n', start)) != std::string::npos; start = end + 1) {
    lines.push_back(text.substr(start, end - start));
  }
  std::sort(lines.begin(), lines.end());
  return lines;
}

TEST(Apply, TakesOnEveryBoardButTheFailingOneAndSummarises) {
  TestFleet fleet("127.3.20.10", 4, {"remote"});
  sim::SimOptions refuseRestore;
  refuseRestore.faults.push_back({sim::FaultKind::Refuse, '6'});
  fleet.Board(2).SetOptions(refuseRestore);
  const std::string file = TempPath("fleet.json");
  WriteAll(file, kFleetBackup);
  const std::string list = TempPath("boards.txt");
  WriteAll(list, "# the lab\n127.3.20.12\n\n  127.3.20.13  # last one\n");

  const CtlResult result =
      RunCtl({"apply", file, "--parallel", "1", "--to", "127.3.20.10", "127.3.20.11", "--to-list", list});
  EXPECT_EQ(result.status, 2) << result.err;
  EXPECT_EQ(result.out,
            "127.3.20.10      ok         Config was saved successfully, and device was restarted.\n"
            "127.3.20.11      ok         Config was saved successfully, and device was restarted.\n"
            "127.3.20.12      failed     Operation failed. (1002) Nothing was written.\n"
            "127.3.20.13      ok         Config was saved successfully, and device was restarted.\n");
  EXPECT_NE(result.err.find("3 of 4 boards took"), std::string::npos) << result.err;
  for (std::size_t i : {0u, 1u, 3u}) {
    const sim::BoardConfig config = fleet.Board(i).Config();
    EXPECT_EQ(config.ipAddr, fleet.Address(i));
    EXPECT_EQ(config.gateway, "127.0.0.254");
    EXPECT_TRUE(config.restoreState);
    EXPECT_EQ(config.webServer, "fleet.example.net");
  }
  EXPECT_FALSE(fleet.Board(2).Config().restoreState);
}

// Every board at once (the default) gives what one after another gives, line
// for line, and each board is written once: among them a board that refuses
// a write, one silent, one that answers the read with garbage and one that
// drops the connection with a reset in the middle of the save.
TEST(Apply, AllAtOnceAsOneAfterAnother) {
  constexpr std::size_t kBoards = 7;
  TestFleet fleet("127.3.24.10", kBoards, {"remote", "remote", "remote", "basic", "remote", "remote", "remote"});
  const std::pair<std::size_t, sim::Fault> faults[] = {{1, {sim::FaultKind::Refuse, '6'}},
                                                       {2, {sim::FaultKind::NoAnswer, '1'}},
                                                       {5, {sim::FaultKind::Garbage, '1'}},
                                                       {6, {sim::FaultKind::Reset, '6'}}};
  for (const auto &[board, fault] : faults) {
    sim::SimOptions options;
    options.faults.push_back(fault);
    fleet.Board(board).SetOptions(options);
  }
  std::vector<sim::BoardConfig> configs;
  for (std::size_t i = 0; i < kBoards; ++i) configs.push_back(fleet.Board(i).Config());
  const std::string file = TempPath("fleet.json");
  WriteAll(file, kFleetBackup);
  std::vector<std::string> arguments = {"apply", file, "--to"};
  for (std::size_t i = 0; i < kBoards; ++i) arguments.push_back(fleet.Address(i));

  std::vector<CtlResult> results;
  for (const bool oneAtATime : {true, false}) {
    for (std::size_t i = 0; i < kBoards; ++i) {
      fleet.Board(i).SetConfig(configs[i]);
      fleet.Board(i).ClearFrames();
    }
    std::vector<std::string> run = arguments;
    if (oneAtATime) run.insert(run.end(), {"--parallel", "1"});
    results.push_back(RunCtl(run));
    for (std::size_t i = 0; i < kBoards; ++i) {
      const std::vector<std::string> frames = fleet.Board(i).Frames();
      EXPECT_LE(std::count_if(frames.begin(), frames.end(), [](const std::string &f) { return f[1] == '6'; }), 1)
          << fleet.Address(i);
    }
  }
  EXPECT_EQ(results[0].status, 2) << results[0].err;
  EXPECT_EQ(results[1].status, results[0].status) << results[1].err;
  EXPECT_EQ(SortedLines(results[1].out), SortedLines(results[0].out));
  EXPECT_EQ(SortedLines(results[0].out).size(), kBoards) << results[0].out;
  // The silent board's read ends at the library's bound, not when the board gives up.
  EXPECT_NE(results[1].out.find(fleet.Address(2) + "      failed     Communication time out. (1001)"),
            std::string::npos)
      << results[1].out;
}

TEST(Apply, BoardsWithoutACapabilityTheFileUsesAreRefused) {
  TestFleet fleet("127.3.21.10", 2, {"keys", "basic"});
  const std::string file = TempPath("keys.json");
  WriteAll(file, R"({"format": "relayctl-backup", "format_version": 1,
                     "capabilities": {"remote_control": false, "keys": true},
                     "settings": {"keys": "33333333"}})");
  const CtlResult result = RunCtl({"apply", file, "--parallel", "1", "--to", fleet.Address(0), fleet.Address(1)});
  EXPECT_EQ(result.status, 1);
  EXPECT_EQ(result.out,
            "127.3.21.10      ok         Config was saved successfully, and device was restarted.\n"
            "127.3.21.11      rejected   refused, nothing sent: a basic board cannot take keys\n");
  EXPECT_EQ(fleet.Board(0).Config().buttonCfg, "33333333");
  EXPECT_EQ(fleet.Board(1).Frames().size(), 1u);
}

// A stop request to relayctl's process group (its workers too, as from a
// terminal) while the second board is being written, one board at a time and
// two at once: the boards in progress finish and report, the third is never
// started. SIGHUP comes twice, as when a session ends (from the terminal and
// from the shell). With --verify the signal comes while the boards are
// awaited after their restart: the wait ends and says so.
TEST(Apply, InterruptFinishesTheBoardsInProgressAndStartsNoOther) {
  const struct {
    const char *parallel;
    int signal, times, status;
    bool verify;
  } cases[] = {{"1", SIGINT, 1, 130, false},
               {"2", SIGTERM, 1, 143, false},
               {"2", SIGHUP, 2, 129, false},
               {"2", SIGTERM, 1, 143, true}};
  for (const auto &c : cases) {
    TestFleet fleet("127.3.22.10", 3, {"basic"});
    sim::SimOptions slow;
    slow.replyDelayMs = 400;
    if (c.verify) slow.restartSilenceMs = 30000;
    fleet.Board(0).SetOptions(slow);
    fleet.Board(1).SetOptions(slow);
    const std::string file = TempPath("restore.json");
    WriteAll(file, R"({"format": "relayctl-backup", "format_version": 1,
                       "capabilities": {"remote_control": false, "keys": false}, "settings": {"restore": true}})");
    std::vector<std::string> arguments = {"apply", file, "--parallel", c.parallel, "--to", fleet.Address(0),
                                          fleet.Address(1), fleet.Address(2)};
    if (c.verify) arguments.push_back("--verify");
    RunningCtl apply(arguments);
    const auto received = [&](std::size_t board, char command) {
      const std::vector<std::string> frames = fleet.Board(board).Frames();
      return std::any_of(frames.begin(), frames.end(),
                         [&](const std::string &frame) { return frame.size() > 1 && frame[1] == command; });
    };
    const auto ready = [&] { return c.verify ? received(0, '7') && received(1, '7') : received(1, '6'); };
    for (int i = 0; i < 500 && !ready(); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(10));
    for (int i = 0; i < c.times; ++i) apply.Signal(c.signal);
    const CtlResult result = apply.Finish();
    EXPECT_EQ(result.status, c.status) << result.err;
    const std::string saved = "Config was saved successfully, and device was restarted.";
    const std::vector<std::string> lines = SortedLines(result.out);
    ASSERT_EQ(lines.size(), 2u) << result.out;
    for (std::size_t i = 0; i < 2; ++i) {
      const std::string expected =
          c.verify ? fleet.Address(i) + "      stopped    " + saved + " Not verified: stopped after "
                   : fleet.Address(i) + "      ok         " + saved;
      EXPECT_EQ(lines[i].substr(0, expected.size()), expected) << result.out;
      if (c.verify) {
        EXPECT_TRUE(lines[i].ends_with(" s of waiting for the board.")) << result.out;
      }
    }
    EXPECT_NE(result.err.find((c.verify ? "0" : "2") + std::string(" of 3 boards took ") + file +
                              "; stopped, 1 not started"),
              std::string::npos)
        << result.err;
    EXPECT_TRUE(fleet.Board(2).Frames().empty());
  }
}

TEST(Apply, JsonGivesAnObjectPerBoardThenASummary) {
  TestFleet fleet("127.3.23.10", 2, {"basic"});
  const std::string file = TempPath("restore.json");
  WriteAll(file, R"({"format": "relayctl-backup", "format_version": 1,
                     "capabilities": {"remote_control": false, "keys": false}, "settings": {"restore": false}})");
  const CtlResult result = RunCtl({"apply", file, "--json", "--parallel", "1", "--to", fleet.Address(0), "127.3.23.99"});
  EXPECT_EQ(result.status, 2);
  EXPECT_EQ(result.out,
            R"j({"address":"127.3.23.10","result":"ok","exit_status":0,"message":"Config was saved successfully. Nothing to change.",)j"
            R"j("changed":false,"changes":[],"restarted":false,"verified":false})j"
            "\n"
            R"j({"address":"127.3.23.99","result":"failed","exit_status":2,"message":"Can not connect to the device. (1004)",)j"
            R"j("changed":false,"changes":[],"restarted":false,"verified":false})j"
            "\n"
            R"({"summary":{"boards":2,"took":1,"not_started":0,"exit_status":2}})"
            "\n");
}

// Where the open-file limit cannot be raised far enough, fewer boards go at
// once, and relayctl says so.
TEST(Apply, FewerBoardsAtOnceThanAskedWhenTheOpenFileLimitIsLow) {
  TestFleet fleet("127.3.25.10", 10, {"basic"});
  const std::string file = TempPath("restore.json");
  WriteAll(file, R"({"format": "relayctl-backup", "format_version": 1,
                     "capabilities": {"remote_control": false, "keys": false}, "settings": {"restore": true}})");
  std::vector<std::string> arguments = {"apply", file, "--to"};
  for (std::size_t i = 0; i < 10; ++i) arguments.push_back(fleet.Address(i));
  const CtlResult result = RunCtl(arguments, {}, "-n 40");  // 32 are kept for files and streams: 8 boards at once
  EXPECT_EQ(result.status, 0) << result.err;
  EXPECT_NE(result.err.find("the limit of open files allows 8 boards at once, not 10\n"), std::string::npos)
      << result.err;
  EXPECT_NE(result.err.find("10 of 10 boards took"), std::string::npos) << result.err;
}

}  // namespace
}  // namespace relayctl::testing
