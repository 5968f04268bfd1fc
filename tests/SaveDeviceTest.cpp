// Saving: validation, the order and content of the writes, the restart and
// what each failure leaves behind. Assertions are on the frames the board got.
#include <gtest/gtest.h>

#include "DeviceCfgState.h"
#include "TestBoard.h"

namespace relay::testing {
namespace {

using Frames = std::vector<std::string>;

class Save : public ::testing::Test {
 protected:
  void ReadBoard(sim::BoardConfig config = RemoteBoard(), sim::SimOptions options = {}) {
    board_ = std::make_unique<TestBoard>(config, options);
    ASSERT_TRUE(ReadDevice(state_, board_->address().c_str()));
    board_->sim().ClearFrames();
  }

  // Frames after the read, with the read's tag checked and replaced.
  Frames Sent() { return board_->FramesWithTag(state_.RequestTag); }

  std::unique_ptr<TestBoard> board_;
  DeviceCfgState state_;
};

TEST_F(Save, EveryValueChangedIsWrittenInOrderThenRestarts) {
  sim::BoardConfig config = RemoteBoard();
  config.enableWeb = false;
  ReadBoard(config);
  state_.NewIpAddr = " 127.001.2.3 ";
  state_.NewSubMask = "255.255.0.0";
  state_.NewGateway = "127.1.0.1";
  state_.NewButtonCfg = "33333333";
  state_.NewRestoreState = true;
  state_.NewEnableWeb = true;
  state_.NewDns = "127.0.0.54";
  state_.NewWebServer = "\tother.example.net ";
  state_.NewPassword = " 000111";

  EXPECT_TRUE(SaveDevice(state_));

  EXPECT_EQ(Sent(), (Frames{"#2<tag>,127.1.2.3;", "#3<tag>,255.255.0.0;", "#4<tag>,127.1.0.1;", "#5<tag>,33333333;",
                            "#6<tag>,1;", "#A<tag>,1;", "#8<tag>,127.0.0.54;", "#9<tag>,other.example.net;",
                            "#B<tag>,000111;", "#7<tag>;"}));
  EXPECT_EQ(state_.ErrorCode, 3001);
  EXPECT_EQ(state_.ErrorMsg, "Config was saved successfully, and device was restarted.");
  EXPECT_FALSE(state_.CfgReady);
  EXPECT_EQ(state_.DevIpAddr, "127.1.2.3");
  EXPECT_EQ(state_.DevPassword, "000111");
  EXPECT_EQ(board_->sim().Restarts(), 1);
  EXPECT_FALSE(state_.DeviceSocket.IsOpen());
}

TEST_F(Save, NothingChangedStillConnectsAndStaysReady) {
  ReadBoard();
  const int connections = board_->sim().Connections();
  EXPECT_TRUE(SaveDevice(state_));
  EXPECT_EQ(state_.ErrorCode, 3002);
  EXPECT_EQ(state_.ErrorMsg, "Config was saved successfully.");
  EXPECT_TRUE(state_.CfgReady);
  EXPECT_TRUE(Sent().empty());
  EXPECT_TRUE(board_->ReachesConnections(connections + 1));
}

TEST_F(Save, OnlyTheGatewaySendsItAndTheRestart) {
  ReadBoard();
  state_.NewGateway = "127.0.0.1";
  EXPECT_TRUE(SaveDevice(state_));
  EXPECT_EQ(Sent(), (Frames{"#4<tag>,127.0.0.1;", "#7<tag>;"}));
  EXPECT_EQ(state_.ErrorCode, 3001);
  EXPECT_EQ(SaveDevice(state_), false);
  EXPECT_EQ(state_.ErrorCode, 1006);
}

TEST_F(Save, AddressEqualToTheBoardsOnceNormalisedIsNotWritten) {
  ReadBoard();
  state_.NewIpAddr = " " + board_->address() + " ";
  state_.NewIpAddr.insert(state_.NewIpAddr.find('.') + 1, "00");
  EXPECT_TRUE(SaveDevice(state_));
  EXPECT_EQ(state_.NewIpAddr, board_->address());
  EXPECT_EQ(state_.ErrorCode, 3002);
  EXPECT_TRUE(Sent().empty());
}

TEST_F(Save, RemoteControlSwitchedOffSendsOnlyTheSwitch) {
  ReadBoard();
  state_.NewEnableWeb = false;
  state_.NewDns = "not a dns";
  state_.NewWebServer = "";
  state_.NewPassword = "12";
  EXPECT_TRUE(SaveDevice(state_));
  EXPECT_EQ(Sent(), (Frames{"#A<tag>,0;", "#7<tag>;"}));
}

TEST_F(Save, KeyModesGoOnlyToABoardThatHasThem) {
  ReadBoard(BasicBoard(false));
  state_.NewButtonCfg = "33333333";
  state_.NewRestoreState = true;
  EXPECT_TRUE(SaveDevice(state_));
  EXPECT_EQ(Sent(), (Frames{"#6<tag>,1;", "#7<tag>;"}));
}

TEST_F(Save, LeftOverRemoteValuesOfAnEarlierBoardAreNotSent) {
  TestBoard remote;
  ASSERT_TRUE(ReadDevice(state_, remote.address().c_str()));
  ReadBoard(BasicBoard(true));  // the switch stays on from the first board
  ASSERT_TRUE(state_.DevEnableWeb);
  state_.NewWebServer = "bad;#21,1.2.3.4";
  EXPECT_TRUE(SaveDevice(state_));
  EXPECT_EQ(state_.ErrorCode, 3002);
  EXPECT_TRUE(Sent().empty());
}

TEST_F(Save, TheSwitchOfASaveRefusedOnAnEarlierBoardIsNotSent) {
  TestBoard remote;
  ASSERT_TRUE(ReadDevice(state_, remote.address().c_str()));
  state_.NewEnableWeb = false;
  state_.NewIpAddr = "refused";
  ASSERT_FALSE(SaveDevice(state_));
  ReadBoard(BasicBoard(false));
  EXPECT_TRUE(SaveDevice(state_));
  EXPECT_EQ(state_.ErrorCode, 3002);
  EXPECT_TRUE(Sent().empty());
  EXPECT_EQ(board_->sim().Restarts(), 0);
}

struct RejectCase {
  const char *name;
  std::string PendingValues::*field;
  std::string value;
  int status;
  std::string message;
};

class SaveRejects : public Save, public ::testing::WithParamInterface<RejectCase> {};

TEST_P(SaveRejects, BeforeConnectingAndStaysReady) {
  ReadBoard();
  const int connections = board_->sim().Connections();
  state_.*GetParam().field = GetParam().value;
  EXPECT_FALSE(SaveDevice(state_));
  EXPECT_EQ(state_.ErrorCode, GetParam().status);
  EXPECT_EQ(state_.ErrorMsg, GetParam().message);
  EXPECT_TRUE(state_.CfgReady);
  EXPECT_EQ(board_->sim().Connections(), connections);
}

// Each code once (the rules' cases are in ValueRulesTest); HostileCallerTest has
// a conversion failure for the IP address, mask and DNS.
INSTANTIATE_TEST_SUITE_P(
    Fields, SaveRejects,
    ::testing::Values(
        RejectCase{"Ip", &PendingValues::NewIpAddr, "127.0.0", 2001, "Wrong IP address."},
        RejectCase{"Mask", &PendingValues::NewSubMask, "256.0.0.0", 2002, "Subnet mask is wrong."},
        RejectCase{"Gateway", &PendingValues::NewGateway, "", 2003, "Gateway is wrong."},
        RejectCase{"GatewayNotANumber", &PendingValues::NewGateway, "1.2.3.4x", 2003, "Gateway is wrong."},
        RejectCase{"Dns", &PendingValues::NewDns, "1.2.3.4.5", 2004, "DNS is wrong."},
        RejectCase{"Server", &PendingValues::NewWebServer, "a;#21,1.2.3.4;", 2005,
                   "Please enter the server for remote control."},
        RejectCase{"Password", &PendingValues::NewPassword, "12345", 2006, "Password should be 6 digits."}),
    [](const auto &info) { return std::string(info.param.name); });

TEST_F(Save, ValidationStopsAtTheFirstRejectedValueAndKeepsWhatItNormalised) {
  ReadBoard();
  state_.NewIpAddr = " 127.000.0.9 ";
  state_.NewSubMask = "bad";
  state_.NewGateway = "also bad";
  EXPECT_FALSE(SaveDevice(state_));
  EXPECT_EQ(state_.ErrorCode, 2002);
  EXPECT_EQ(state_.NewIpAddr, "127.0.0.9");
}

TEST_F(Save, BoardGoneAfterTheReadFailsToConnectAndIsNoLongerReady) {
  ReadBoard();
  board_->sim().Stop();
  EXPECT_FALSE(SaveDevice(state_));
  EXPECT_EQ(state_.ErrorCode, 1004);
  EXPECT_FALSE(state_.CfgReady);
}

TEST_F(Save, TimedOutMaskWriteKeepsTheAcknowledgedIpWrite) {
  sim::SimOptions options;
  options.faults.push_back({sim::FaultKind::NoAnswer, '3'});
  ReadBoard(RemoteBoard(), options);
  state_.NewIpAddr = "127.9.9.9";
  state_.NewSubMask = "255.255.0.0";
  state_.NewGateway = "127.9.9.1";
  EXPECT_FALSE(SaveDevice(state_));
  EXPECT_EQ(state_.ErrorCode, 1003);
  EXPECT_EQ(state_.ErrorMsg, "Communication time out.");
  EXPECT_FALSE(state_.CfgReady);
  EXPECT_EQ(state_.DevIpAddr, "127.9.9.9");
  EXPECT_EQ(state_.DevSubMask, "255.0.0.0");
  EXPECT_EQ(Sent(), (Frames{"#2<tag>,127.9.9.9;", "#3<tag>,255.255.0.0;"}));
  EXPECT_FALSE(state_.DeviceSocket.IsOpen());
}

TEST_F(Save, RefusedWriteStopsTheSave) {
  sim::SimOptions options;
  options.faults.push_back({sim::FaultKind::Refuse, '6'});
  ReadBoard(RemoteBoard(), options);
  state_.NewRestoreState = true;
  state_.NewDns = "127.0.0.99";
  EXPECT_FALSE(SaveDevice(state_));
  EXPECT_EQ(state_.ErrorCode, 1002);
  EXPECT_EQ(state_.ErrorMsg, "Operation failed.");
  EXPECT_FALSE(state_.DevRestoreState);
  EXPECT_EQ(Sent(), (Frames{"#6<tag>,1;"}));
}

TEST_F(Save, RestartNotAcknowledgedStillSucceedsAndStaysReady) {
  sim::SimOptions options;
  options.faults.push_back({sim::FaultKind::Refuse, '7'});
  ReadBoard(RemoteBoard(), options);
  state_.NewPassword = "111111";
  EXPECT_TRUE(SaveDevice(state_));
  EXPECT_EQ(state_.ErrorCode, 1002);
  EXPECT_TRUE(state_.CfgReady);
  EXPECT_EQ(state_.DevPassword, "111111");
  EXPECT_EQ(Sent(), (Frames{"#B<tag>,111111;", "#7<tag>;"}));

  // A second save has nothing left to write.
  EXPECT_TRUE(SaveDevice(state_));
  EXPECT_EQ(state_.ErrorCode, 3002);
}

TEST_F(Save, RestartedBoardAnswersAtItsNewLoopbackAddress) {
  ReadBoard();
  const std::string newAddress = UnusedLoopbackAddress();
  state_.NewIpAddr = newAddress;
  ASSERT_TRUE(SaveDevice(state_));
  ASSERT_EQ(state_.ErrorCode, 3001);
  bool answered = false;
  for (int attempt = 0; attempt < 50 && !answered; ++attempt) {
    answered = ReadDevice(state_, newAddress.c_str());
    if (!answered) std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  EXPECT_TRUE(answered);
  EXPECT_EQ(state_.DevIpAddr, newAddress);
}

}  // namespace
}  // namespace relay::testing
