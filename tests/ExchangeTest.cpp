// One request/reply exchange against a board showing each fault.
#include <gtest/gtest.h>

#include <set>

#include "DeviceCfgState.h"
#include "Protocol.h"
#include "TestBoard.h"
#include "UnderWine.h"

namespace relay::testing {
namespace {

using sim::Fault;
using sim::FaultKind;

sim::SimOptions WithFault(FaultKind kind, char command = 0) {
  sim::SimOptions options;
  options.faults.push_back(Fault{kind, command});
  return options;
}

struct WriteCase {
  const char *name;
  FaultKind fault;
  bool acknowledged;
  Status status;  // when not acknowledged
};

class WriteExchange : public ::testing::TestWithParam<WriteCase> {};

TEST_P(WriteExchange, EndsWithTheRightStatus) {
  if (GetParam().fault == FaultKind::Reset && UnderWine()) GTEST_SKIP() << "Wine reports the reset as an orderly close";
  TestBoard board(RemoteBoard(), WithFault(GetParam().fault));
  DeviceCfgState state;
  ASSERT_TRUE(state.DeviceSocket.Open(board.address()));
  EXPECT_EQ(SendDeviceCmd(state, BuildCommand(Command::SetGateway, 17, "127.0.0.9")), GetParam().acknowledged);
  EXPECT_EQ(state.ErrorCode, GetParam().acknowledged ? 0 : static_cast<int>(GetParam().status));
  EXPECT_EQ(board.sim().Frames(), std::vector<std::string>{"#417,127.0.0.9;"});
}

INSTANTIATE_TEST_SUITE_P(
    Faults, WriteExchange,
    ::testing::Values(WriteCase{"SplitAcknowledgement", FaultKind::SplitReply, true, Status::None},
                      WriteCase{"OneBytePieces", FaultKind::OneBytePieces, true, Status::None},
                      WriteCase{"LowerCase", FaultKind::LowerCaseAck, false, Status::WriteRefused},
                      WriteCase{"TrailingBytes", FaultKind::TrailingBytes, false, Status::WriteRefused},
                      WriteCase{"Refused", FaultKind::Refuse, false, Status::WriteRefused},
                      WriteCase{"ClosedWithoutAnswer", FaultKind::CloseWithoutAnswer, false, Status::WriteRefused},
                      WriteCase{"ClosedMidReply", FaultKind::CloseMidReply, false, Status::WriteRefused},
                      WriteCase{"HugeReply", FaultKind::HugeReply, false, Status::WriteRefused},
                      WriteCase{"Reset", FaultKind::Reset, false, Status::WriteTimeout},
                      WriteCase{"NoAnswer", FaultKind::NoAnswer, false, Status::WriteTimeout}),
    [](const auto &info) { return std::string(info.param.name); });

TEST(Exchange, AfterTheBoardClosedFurtherWritesTimeOutAtOnce) {
  TestBoard board(RemoteBoard(), WithFault(FaultKind::CloseWithoutAnswer));
  DeviceCfgState state;
  ASSERT_TRUE(state.DeviceSocket.Open(board.address()));
  EXPECT_FALSE(SendDeviceCmd(state, BuildCommand(Command::SetGateway, 1, "1.2.3.4")));
  EXPECT_EQ(state.ErrorCode, static_cast<int>(Status::WriteRefused));
  EXPECT_FALSE(SendDeviceCmd(state, BuildCommand(Command::SetSubMask, 1, "255.0.0.0")));
  EXPECT_EQ(state.ErrorCode, static_cast<int>(Status::WriteTimeout));
  EXPECT_EQ(board.sim().Frames().size(), 1u);
}

TEST(Exchange, SendingToAVanishedBoardRaisesNoSignal) {
  TestBoard board;
  DeviceLink link;
  ASSERT_TRUE(link.Open(board.address()));
  board.sim().Stop();
  for (int i = 0; i < 3 && link.IsOpen(); ++i) EXPECT_NE(link.Exchange("#21,1.2.3.4;"), ">OK;");
  EXPECT_FALSE(link.IsOpen());
}

TEST(Exchange, ReplyIsGatheredUntilItsEnd) {
  sim::SimOptions options = WithFault(FaultKind::SplitReply);
  options.splitPauseMs = 1500;
  TestBoard board(RemoteBoard(), options);
  DeviceCfgState state;
  ASSERT_TRUE(state.DeviceSocket.Open(board.address()));
  const auto reply = QueryDevice(state, BuildCommand(Command::ReportConfig, 5));
  ASSERT_TRUE(reply);
  EXPECT_EQ(*reply, sim::CfgReply(board.sim().Config()));
}

TEST(Exchange, LongReplyStopsAtTheLimit) {
  TestBoard board(RemoteBoard(), WithFault(FaultKind::HugeReply));
  DeviceLink link;
  ASSERT_TRUE(link.Open(board.address()));
  const auto reply = link.Exchange("#15;");
  ASSERT_TRUE(reply);
  EXPECT_EQ(reply->size(), kMaxReplyBytes);
}

TEST(Exchange, MalformedFrameIsRefusedByTheBoard) {
  TestBoard board;
  DeviceLink link;
  ASSERT_TRUE(link.Open(board.address()));
  EXPECT_EQ(link.Exchange("#1;"), ">ERR;");
  EXPECT_EQ(link.Exchange("#21,1.2.3.4;"), ">OK;");
}

TEST(Exchange, OpeningFailsAtOnceWhereNothingListens) {
  DeviceLink link;
  EXPECT_FALSE(link.Open(UnusedLoopbackAddress()));
  EXPECT_FALSE(link.Open(""));
  EXPECT_FALSE(link.IsOpen());
}

TEST(RequestTags, StayWithinFourDigits) {
  RequestTagSource tags;
  std::set<int> seen;
  for (int i = 0; i < 20000; ++i) {
    const int tag = tags.Draw();
    ASSERT_GE(tag, 0);
    ASSERT_LE(tag, 9999);
    seen.insert(tag);
  }
  EXPECT_GT(seen.size(), 5000u);
}

}  // namespace
}  // namespace relay::testing
