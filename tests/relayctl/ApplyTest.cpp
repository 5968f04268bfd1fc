// apply: one backup onto many boards.
#include <gtest/gtest.h>

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

TEST(Apply, TakesOnEveryBoardButTheFailingOneAndSummarises) {
  TestFleet fleet("127.3.20.10", 4, {"remote"});
  sim::SimOptions refuseRestore;
  refuseRestore.faults.push_back({sim::FaultKind::Refuse, '6'});
  fleet.Board(2).SetOptions(refuseRestore);
  const std::string file = TempPath("fleet.json");
  WriteAll(file, kFleetBackup);
  const std::string list = TempPath("boards.txt");
  WriteAll(list, "# the lab\n127.3.20.12\n\n  127.3.20.13  # last one\n");

  const CtlResult result = RunCtl({"apply", file, "--to", "127.3.20.10", "127.3.20.11", "--to-list", list});
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

TEST(Apply, BoardsWithoutACapabilityTheFileUsesAreRefused) {
  TestFleet fleet("127.3.21.10", 2, {"keys", "basic"});
  const std::string file = TempPath("keys.json");
  WriteAll(file, R"({"format": "relayctl-backup", "format_version": 1,
                     "capabilities": {"remote_control": false, "keys": true},
                     "settings": {"keys": "33333333"}})");
  const CtlResult result = RunCtl({"apply", file, "--to", fleet.Address(0), fleet.Address(1)});
  EXPECT_EQ(result.status, 1);
  EXPECT_EQ(result.out,
            "127.3.21.10      ok         Config was saved successfully, and device was restarted.\n"
            "127.3.21.11      rejected   refused, nothing sent: a basic board cannot take keys\n");
  EXPECT_EQ(fleet.Board(0).Config().buttonCfg, "33333333");
  EXPECT_EQ(fleet.Board(1).Frames().size(), 1u);
}

TEST(Apply, InterruptFinishesTheBoardInProgressAndStartsNoOther) {
  TestFleet fleet("127.3.22.10", 3, {"basic"});
  sim::SimOptions slow;
  slow.replyDelayMs = 1000;
  fleet.Board(1).SetOptions(slow);
  const std::string file = TempPath("restore.json");
  WriteAll(file, R"({"format": "relayctl-backup", "format_version": 1,
                     "capabilities": {"remote_control": false, "keys": false}, "settings": {"restore": true}})");
  RunningCtl apply({"apply", file, "--to", fleet.Address(0), fleet.Address(1), fleet.Address(2)});
  for (int i = 0; i < 500 && fleet.Board(1).Frames().empty(); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(10));
  apply.Signal(SIGINT);
  const CtlResult result = apply.Finish();
  EXPECT_EQ(result.status, 130) << result.err;
  EXPECT_EQ(result.out,
            "127.3.22.10      ok         Config was saved successfully, and device was restarted.\n"
            "127.3.22.11      ok         Config was saved successfully, and device was restarted.\n");
  EXPECT_NE(result.err.find("2 of 3 boards took " + file + "; stopped, 1 not started"), std::string::npos)
      << result.err;
  EXPECT_TRUE(fleet.Board(2).Frames().empty());
}

TEST(Apply, JsonGivesAnObjectPerBoardThenASummary) {
  TestFleet fleet("127.3.23.10", 2, {"basic"});
  const std::string file = TempPath("restore.json");
  WriteAll(file, R"({"format": "relayctl-backup", "format_version": 1,
                     "capabilities": {"remote_control": false, "keys": false}, "settings": {"restore": false}})");
  const CtlResult result = RunCtl({"apply", file, "--json", "--to", fleet.Address(0), "127.3.23.99"});
  EXPECT_EQ(result.status, 2);
  EXPECT_EQ(result.out,
            R"j({"address":"127.3.23.10","result":"ok","exit_status":0,"message":"Config was saved successfully. Nothing to change."})j"
            "\n"
            R"j({"address":"127.3.23.99","result":"failed","exit_status":2,"message":"Can not connect to the device. (1004)"})j"
            "\n"
            R"({"summary":{"boards":2,"took":1,"not_started":0,"exit_status":2}})"
            "\n");
}

}  // namespace
}  // namespace relayctl::testing
