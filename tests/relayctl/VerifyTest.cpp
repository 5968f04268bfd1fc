// --verify: reading a board again after its restart.
#include <gtest/gtest.h>

#include "CtlRun.h"

namespace relayctl::testing {
namespace {

sim::SimOptions AckWithoutApplying(char command) {
  sim::SimOptions options;
  options.faults.push_back({sim::FaultKind::AckWithoutApplying, command});
  return options;
}

TEST(Verify, CatchesAValueAcknowledgedButNotApplied) {
  TestFleet fleet("127.3.30.10", 1, {"remote"}, AckWithoutApplying('4'));
  const CtlResult result =
      RunCtl({"set", fleet.Address(0), "gateway=127.0.0.1", "restore=on", "--verify", "--wait", "5"});
  EXPECT_EQ(result.status, 3) << result.err;
  EXPECT_NE(result.err.find("Not taken: gateway: wanted 127.0.0.1, board has 127.0.0.254."), std::string::npos)
      << result.err;
}

TEST(Verify, FollowsTheBoardToItsNewAddress) {
  sim::SimOptions slowRestart;
  slowRestart.restartSilenceMs = 400;
  TestFleet fleet("127.3.31.10", 1, {"remote"}, slowRestart);
  const CtlResult result =
      RunCtl({"set", fleet.Address(0), "ip=127.3.31.050", "key2=jog", "--verify", "--wait", "5"});
  EXPECT_EQ(result.status, 0) << result.err;
  EXPECT_NE(result.err.find("Verified at 127.3.31.50."), std::string::npos) << result.err;
  EXPECT_EQ(fleet.Board(0).Address(), "127.3.31.50");
}

TEST(Verify, BoardThatDoesNotComeBackIsACommunicationFailure) {
  sim::SimOptions longRestart;
  longRestart.restartSilenceMs = 30000;
  TestFleet fleet("127.3.32.10", 1, {"basic"}, longRestart);
  const CtlResult result = RunCtl({"set", fleet.Address(0), "restore=on", "--verify", "--wait", "1"});
  EXPECT_EQ(result.status, 2) << result.err;
  EXPECT_NE(result.err.find("Not verified: the board did not answer within 1.0 s."), std::string::npos) << result.err;
}

TEST(Verify, ApplyReportsTheBoardWhereAValueDidNotTake) {
  TestFleet fleet("127.3.33.10", 2, {"remote"});
  fleet.Board(1).SetOptions(AckWithoutApplying('6'));
  const std::string file = TempPath("restore.json");
  WriteAll(file, R"({"format": "relayctl-backup", "format_version": 1,
                     "capabilities": {"remote_control": false, "keys": false},
                     "settings": {"restore": true}})");
  const CtlResult result = RunCtl({"apply", file, "--to", fleet.Address(0), fleet.Address(1), "--verify"});
  EXPECT_EQ(result.status, 3) << result.err;
  EXPECT_NE(result.out.find("127.3.33.10      ok "), std::string::npos) << result.out;
  EXPECT_NE(result.out.find("127.3.33.11      not-taken  "), std::string::npos) << result.out;
  EXPECT_NE(result.out.find("restore: wanted on, board has off"), std::string::npos) << result.out;
}

// A restore that gives a board another board's ip (forced past the check
// that refuses it): the other board answers at that address, and only the
// board of the written device ID is credited.
TEST(Verify, CreditsOnlyTheBoardThatWasWritten) {
  TestFleet fleet("127.3.34.10", 2, {"remote"});
  const std::string file = TempPath("other.json");
  ASSERT_EQ(RunCtl({"backup", fleet.Address(1), "-o", file}).status, 0);
  const CtlResult result =
      RunCtl({"restore", fleet.Address(0), file, "--other-board", "--force", "--verify", "--wait", "5"});
  EXPECT_EQ(result.status, 0) << result.err;
  EXPECT_NE(result.err.find("Verified at 127.3.34.10."), std::string::npos) << result.err;
}

TEST(Verify, ABoardWithoutDeviceIdIsReadBackButNotVerified) {
  TestFleet fleet("127.3.35.10", 1, {"basic"});
  const CtlResult result = RunCtl({"set", fleet.Address(0), "restore=on", "--verify", "--wait", "5"});
  EXPECT_EQ(result.status, 0) << result.err;
  EXPECT_NE(result.err.find("but not verified: a board without a device ID"), std::string::npos) << result.err;
  EXPECT_EQ(result.err.find("Verified at"), std::string::npos) << result.err;
}

}  // namespace
}  // namespace relayctl::testing
