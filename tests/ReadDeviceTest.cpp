// Reading a board: reply shapes, failures and what they leave behind.
#include <gtest/gtest.h>

#include <optional>

#include "DeviceCfgState.h"
#include "TestBoard.h"
#include "UnderWine.h"

namespace relay::testing {
namespace {

const char kBadReply[] =
    "Can not read device configurations. Please check if an updated version of this software is available.";

struct ReplyCase {
  const char *name;
  std::optional<std::string> rawReply;  // nullopt: the board's own reply
  sim::Model model;
  bool keys;
  Status status;  // None for a good read
  bool web;
  bool buttons;
};

class ReadReply : public ::testing::TestWithParam<ReplyCase> {};

TEST_P(ReadReply, GivesTheRightOutcomeAndCapabilities) {
  const ReplyCase &row = GetParam();
  sim::BoardConfig config = RemoteBoard();
  config.model = row.model;
  if (!row.keys) config.buttonCfg.clear();
  sim::SimOptions options;
  options.rawCfgReply = row.rawReply;
  TestBoard board(config, options);
  DeviceCfgState state;

  const bool good = ReadDevice(state, board.address().c_str());

  EXPECT_EQ(good, row.status == Status::None);
  EXPECT_EQ(state.CfgReady, good);
  EXPECT_EQ(state.ErrorCode, static_cast<int>(row.status));
  EXPECT_FALSE(state.DeviceSocket.IsOpen());
  EXPECT_EQ(board.FramesWithTag(state.RequestTag), std::vector<std::string>{"#1<tag>;"});
  if (good) {
    EXPECT_EQ(state.WebCapable, row.web);
    EXPECT_EQ(state.ButtonCapable, row.buttons);
    EXPECT_TRUE(state.MiscCapable);
  }
}

const std::string kTail = ",1,RB0000000000AB654321,127.0.0.53,relay.example.net,1;";

INSTANTIATE_TEST_SUITE_P(
    Shapes, ReadReply,
    ::testing::Values(
        ReplyCase{"FiveItemsWithKeys", {}, sim::Model::Basic, true, Status::None, false, true},
        ReplyCase{"FiveItemsWithoutKeys", {}, sim::Model::Basic, false, Status::None, false, false},
        ReplyCase{"TenItems", {}, sim::Model::RemoteControl, true, Status::None, true, true},
        ReplyCase{"TenItemsWithoutKeys", {}, sim::Model::RemoteControl, false, Status::None, true, false},
        ReplyCase{"NineItemsReadAsFive", ">1.2.3.4,255.0.0.0,1.2.3.1,12312312,0,a,b,c,d;", {}, true, Status::None,
                  false, true},
        ReplyCase{"EmptyLastItemReadAsNine", ">1.2.3.4,255.0.0.0,1.2.3.1,12312312,0,1,RB0000000000AB654321,1.1.1.1,s,;",
                  {}, true, Status::None, false, true},
        ReplyCase{"SixItems", ">1.2.3.4,255.0.0.0,1.2.3.1,.,0,a;", {}, true, Status::BadReply, false, false},
        ReplyCase{"SevenItems", ">1.2.3.4,255.0.0.0,1.2.3.1,.,0,a,b;", {}, true, Status::BadReply, false, false},
        ReplyCase{"EightItems", ">1.2.3.4,255.0.0.0,1.2.3.1,.,0,a,b,c;", {}, true, Status::BadReply, false, false},
        ReplyCase{"ElevenItems", ">x,1.2.3.4,255.0.0.0,1.2.3.1,.,0" + kTail, {}, true, Status::BadReply, false, false},
        ReplyCase{"NineCharacters", ">1,2,3,4;", {}, true, Status::BadReply, false, false},
        ReplyCase{"FourKeyModes", ">1.2.3.4,255.0.0.0,1.2.3.1,1111,0;", {}, true, Status::BadReply, false, false},
        ReplyCase{"EmptyDnsItem", ">1.2.3.4,255.0.0.0,1.2.3.1,.,0,1,RB0000000000AB654321,,s,1;", {}, true,
                  Status::BadReply, false, false},
        ReplyCase{"AddressItemNotANumber", ">1.2.x.4,255.0.0.0,1.2.3.1,.,0;", {}, true, Status::BadReply, false,
                  false}),
    [](const auto &info) { return std::string(info.param.name); });

TEST(Read, RewritesAddressesAndCopiesThePendingValues) {
  sim::SimOptions options;
  options.rawCfgReply = ">010.000.000.001,255.255.255.000,010.0.0.254,31231231,1,,RB0000000000AB654321,008.8.8.8,srv,0;";
  TestBoard board(RemoteBoard(), options);
  DeviceCfgState state;
  ASSERT_TRUE(ReadDevice(state, board.address().c_str()));
  EXPECT_EQ(state.DevIpAddr, "10.0.0.1");
  EXPECT_EQ(state.NewIpAddr, "10.0.0.1");
  EXPECT_EQ(state.NewSubMask, "255.255.255.0");
  EXPECT_EQ(state.NewGateway, "10.0.0.254");
  EXPECT_EQ(state.NewDns, "8.8.8.8");
  EXPECT_EQ(state.NewWebServer, "srv");
  EXPECT_EQ(state.NewPassword, "654321");
  EXPECT_EQ(state.NewButtonCfg, "31231231");
  EXPECT_TRUE(state.NewRestoreState);
  EXPECT_FALSE(state.NewEnableWeb);
  EXPECT_EQ(state.FirmwareVersion, "1.0..");  // the empty version item arrives as "."
  EXPECT_EQ(state.LinkAddress, board.address());
}

TEST(Read, BoardWithoutRemoteControlLeavesThoseValuesPending) {
  TestBoard remote;
  TestBoard basic(BasicBoard(false));
  DeviceCfgState state;
  ASSERT_TRUE(ReadDevice(state, remote.address().c_str()));
  ASSERT_TRUE(ReadDevice(state, basic.address().c_str()));
  EXPECT_EQ(state.DevDeviceId, "");
  EXPECT_EQ(state.DevDns, "");
  EXPECT_EQ(state.NewDns, "127.0.0.53");
  EXPECT_EQ(state.NewButtonCfg, "12312312");
  EXPECT_EQ(state.DevButtonCfg, ".");
  EXPECT_EQ(state.FirmwareVersion, "");
}

TEST(Read, NoAnswerTimesOut) {
  sim::SimOptions options;
  options.faults.push_back({sim::FaultKind::NoAnswer});
  TestBoard board(RemoteBoard(), options);
  DeviceCfgState state;
  EXPECT_FALSE(ReadDevice(state, board.address().c_str()));
  EXPECT_EQ(state.ErrorCode, 1001);
  EXPECT_EQ(state.ErrorMsg, "Communication time out.");
  EXPECT_FALSE(state.DeviceSocket.IsOpen());
}

TEST(Read, ClosedInsteadOfAnsweringIsAMalformedReply) {
  sim::SimOptions options;
  options.faults.push_back({sim::FaultKind::CloseWithoutAnswer});
  TestBoard board(RemoteBoard(), options);
  DeviceCfgState state;
  EXPECT_FALSE(ReadDevice(state, board.address().c_str()));
  EXPECT_EQ(state.ErrorCode, 1005);
}

TEST(Read, ResetIsNoReply) {
  if (UnderWine()) GTEST_SKIP() << "Wine reports the reset as an orderly close";
  sim::SimOptions options;
  options.faults.push_back({sim::FaultKind::Reset});
  TestBoard board(RemoteBoard(), options);
  DeviceCfgState state;
  EXPECT_FALSE(ReadDevice(state, board.address().c_str()));
  EXPECT_EQ(state.ErrorCode, 1001);
}

TEST(Read, ReplyInPiecesIsRead) {
  for (const auto fault : {sim::FaultKind::SplitReply, sim::FaultKind::OneBytePieces}) {
    sim::SimOptions options;
    options.faults.push_back({fault});
    TestBoard board(RemoteBoard(), options);
    DeviceCfgState state;
    EXPECT_TRUE(ReadDevice(state, board.address().c_str()));
  }
}

TEST(Read, FailureAfterAGoodReadKeepsCapabilitiesAndPendingValuesButNotReadiness) {
  TestBoard good;
  sim::SimOptions options;
  options.rawCfgReply = ">001.2.3.4,255.0.0.0,1.2.3.999,12312312,1;";
  TestBoard bad(BasicBoard(true), options);
  DeviceCfgState state;
  ASSERT_TRUE(ReadDevice(state, good.address().c_str()));
  const std::string pendingIp = state.NewIpAddr;

  EXPECT_FALSE(ReadDevice(state, bad.address().c_str()));
  EXPECT_EQ(state.ErrorCode, 1005);
  EXPECT_EQ(state.ErrorMsg, kBadReply);
  EXPECT_FALSE(state.CfgReady);
  EXPECT_TRUE(state.WebCapable);
  EXPECT_EQ(state.NewIpAddr, pendingIp);
  EXPECT_EQ(state.LinkAddress, bad.address());
  EXPECT_EQ(bad.FramesWithTag(state.RequestTag).size(), 1u);
  EXPECT_EQ(state.DevIpAddr, "1.2.3.4");        // reached and rewritten before the fault
  EXPECT_EQ(state.DevGateway, "1.2.3.999");     // the faulty item itself
  EXPECT_EQ(state.DevDeviceId, "");             // a five-item reply clears it
  EXPECT_EQ(state.DevPassword, "654321");       // and keeps this
}

TEST(Read, FailedConnectionKeepsTheOldTag) {
  TestBoard good;
  DeviceCfgState state;
  ASSERT_TRUE(ReadDevice(state, good.address().c_str()));
  const int tag = state.RequestTag;
  const std::string address = UnusedLoopbackAddress();
  EXPECT_FALSE(ReadDevice(state, address.c_str()));
  EXPECT_EQ(state.ErrorCode, 1004);
  EXPECT_EQ(state.RequestTag, tag);
  EXPECT_EQ(state.LinkAddress, address);
  EXPECT_FALSE(state.CfgReady);
}

}  // namespace
}  // namespace relay::testing
