// A board that misbehaves at every step: each fault at each position of a
// full save (the reply to each of the nine writes and to the restart), and at
// the read. Every row checks the time taken against the bounds, the status
// code, readiness, that the device-side values hold exactly the writes the
// board acknowledged, and that nothing reaches the board after a failure.
#include <gtest/gtest.h>

#include <chrono>

#include "DeviceCfgState.h"
#include "Socket.h"
#include "TestBoard.h"

namespace relay::testing {
namespace {

using sim::FaultKind;
using Clock = std::chrono::steady_clock;

struct FaultCase {
  const char *name;
  FaultKind kind;
  bool acknowledged;   // a write's reply still reads as ">OK;"
  Status writeStatus;  // when a write is not acknowledged
  Status readStatus;   // when the fault is on the read command; None: the read succeeds
};

const FaultCase kFaults[] = {
    {"NoAnswer", FaultKind::NoAnswer, false, Status::WriteTimeout, Status::ReadTimeout},
    {"CloseWithoutAnswer", FaultKind::CloseWithoutAnswer, false, Status::WriteRefused, Status::BadReply},
    {"CloseMidReply", FaultKind::CloseMidReply, false, Status::WriteRefused, Status::BadReply},
    {"Reset", FaultKind::Reset, false, Status::WriteTimeout, Status::ReadTimeout},
    {"LowerCase", FaultKind::LowerCaseAck, false, Status::WriteRefused, Status::None},
    {"Padded", FaultKind::TrailingBytes, false, Status::WriteRefused, Status::BadReply},
    {"OneBytePieces", FaultKind::OneBytePieces, true, Status::None, Status::None},
    {"MebibyteReply", FaultKind::HugeReply, false, Status::WriteRefused, Status::BadReply},
    {"Garbage", FaultKind::Garbage, false, Status::WriteRefused, Status::BadReply},
    {"Refused", FaultKind::Refuse, false, Status::WriteRefused, Status::BadReply},
};

// One step of a full save: its command code, the frame's value, and how the
// device-side value of a state compares with its pending twin.
struct SaveStep {
  const char *name;
  char command;
  const char *value;
  bool (*written)(const DeviceCfgState &);
};

const SaveStep kFullSave[] = {
    {"IpAddr", '2', "127.0.0.2", [](const DeviceCfgState &s) { return s.DevIpAddr == s.NewIpAddr; }},
    {"SubMask", '3', "255.255.0.0", [](const DeviceCfgState &s) { return s.DevSubMask == s.NewSubMask; }},
    {"Gateway", '4', "127.0.0.1", [](const DeviceCfgState &s) { return s.DevGateway == s.NewGateway; }},
    {"ButtonCfg", '5', "33333333", [](const DeviceCfgState &s) { return s.DevButtonCfg == s.NewButtonCfg; }},
    {"RestoreState", '6', "1", [](const DeviceCfgState &s) { return s.DevRestoreState == s.NewRestoreState; }},
    {"EnableWeb", 'A', "1", [](const DeviceCfgState &s) { return s.DevEnableWeb == s.NewEnableWeb; }},
    {"Dns", '8', "127.0.0.54", [](const DeviceCfgState &s) { return s.DevDns == s.NewDns; }},
    {"WebServer", '9', "other.example.net", [](const DeviceCfgState &s) { return s.DevWebServer == s.NewWebServer; }},
    {"Password", 'B', "000111", [](const DeviceCfgState &s) { return s.DevPassword == s.NewPassword; }},
    {"Restart", '7', nullptr, nullptr},
};
constexpr std::size_t kRestart = std::size(kFullSave) - 1;

std::string Frame(const SaveStep &step, int tag) {
  return std::string("#") + step.command + std::to_string(tag) + (step.value ? std::string(",") + step.value : "") +
         ";";
}

// Generous upper bound for `exchanges` exchanges and one connect.
Clock::duration Bound(std::size_t exchanges) {
  return std::chrono::milliseconds(ConnectTimeoutMs + static_cast<int>(exchanges) * ReplyTimeoutMs + 3000);
}

sim::SimOptions FaultAt(FaultKind kind, char command) {
  sim::SimOptions options;
  options.faults.push_back(sim::Fault{kind, command});
  return options;
}

class FaultDuringSave : public ::testing::TestWithParam<std::tuple<FaultCase, std::size_t>> {};

TEST_P(FaultDuringSave, StopsAtTheFaultWithOnlyAcknowledgedWritesRecorded) {
  const auto &[fault, position] = GetParam();
  sim::BoardConfig config = RemoteBoard();
  config.enableWeb = false;
  TestBoard board(config, FaultAt(fault.kind, kFullSave[position].command));
  DeviceCfgState state;
  ASSERT_TRUE(ReadDevice(state, board.address().c_str()));
  for (const SaveStep &step : kFullSave) {
    if (step.written) {
      ASSERT_TRUE(step.written(state)) << step.name << " differs before the save";
    }
  }
  state.NewIpAddr = kFullSave[0].value;
  state.NewSubMask = kFullSave[1].value;
  state.NewGateway = kFullSave[2].value;
  state.NewButtonCfg = kFullSave[3].value;
  state.NewRestoreState = true;
  state.NewEnableWeb = true;
  state.NewDns = kFullSave[6].value;
  state.NewWebServer = kFullSave[7].value;
  state.NewPassword = kFullSave[8].value;
  board.sim().ClearFrames();

  const auto start = Clock::now();
  const bool saved = SaveDevice(state);
  const auto elapsed = Clock::now() - start;

  const bool failedAtAWrite = !fault.acknowledged && position < kRestart;
  const std::size_t sent = failedAtAWrite ? position + 1 : std::size(kFullSave);
  EXPECT_LT(elapsed, Bound(sent));
  EXPECT_EQ(saved, !failedAtAWrite);
  if (fault.acknowledged) {
    EXPECT_EQ(state.ErrorCode, static_cast<int>(Status::SavedAndRestarted));
  } else {
    EXPECT_EQ(state.ErrorCode, static_cast<int>(fault.writeStatus));
  }
  // Ready only when the restart was not acknowledged and the writes were.
  EXPECT_EQ(state.CfgReady, !fault.acknowledged && position == kRestart);
  EXPECT_FALSE(state.DeviceSocket.IsOpen());

  for (std::size_t i = 0; i < kRestart; ++i) {
    const bool acknowledged = fault.acknowledged || i < position || position == kRestart;
    EXPECT_EQ(kFullSave[i].written(state), acknowledged) << kFullSave[i].name;
  }

  std::vector<std::string> expectedFrames;
  for (std::size_t i = 0; i < sent; ++i) expectedFrames.push_back(Frame(kFullSave[i], state.RequestTag));
  board.sim().WaitUntilIdle();
  EXPECT_EQ(board.sim().Frames(), expectedFrames);

  // A failed save leaves the library refusing to save until a new read.
  if (!state.CfgReady) {
    const int connections = board.sim().Connections();
    EXPECT_FALSE(SaveDevice(state));
    EXPECT_EQ(state.ErrorCode, static_cast<int>(Status::NotReady));
    EXPECT_EQ(board.sim().Connections(), connections);
    EXPECT_EQ(board.sim().Frames().size(), sent);
  }
}

INSTANTIATE_TEST_SUITE_P(Matrix, FaultDuringSave,
                         ::testing::Combine(::testing::ValuesIn(kFaults),
                                            ::testing::Range<std::size_t>(0, std::size(kFullSave))),
                         [](const auto &info) {
                           return std::string(std::get<0>(info.param).name) + "_At" +
                                  kFullSave[std::get<1>(info.param)].name;
                         });

// ---------------------------------------------------------------------------
// The same faults on the read command. A lower-case reply still carries
// every address, so it reads.

class FaultDuringRead : public ::testing::TestWithParam<FaultCase> {};

TEST_P(FaultDuringRead, EndsWithinTheBoundsAndLeavesTheLibraryNotReady) {
  const FaultCase &fault = GetParam();
  TestBoard good;
  TestBoard board(RemoteBoard(), FaultAt(fault.kind, '1'));
  DeviceCfgState state;
  ASSERT_TRUE(ReadDevice(state, good.address().c_str()));  // ready from another board

  const auto start = Clock::now();
  const bool read = ReadDevice(state, board.address().c_str());
  EXPECT_LT(Clock::now() - start, Bound(1));

  EXPECT_EQ(read, fault.readStatus == Status::None);
  EXPECT_EQ(state.CfgReady, read);
  if (!read) {
    EXPECT_EQ(state.ErrorCode, static_cast<int>(fault.readStatus));
  }
  EXPECT_FALSE(state.DeviceSocket.IsOpen());
  board.sim().WaitUntilIdle();
  EXPECT_EQ(board.sim().Frames(), std::vector<std::string>{"#1" + std::to_string(state.RequestTag) + ";"});
  EXPECT_EQ(good.sim().Frames().size(), 1u);
}

INSTANTIATE_TEST_SUITE_P(Matrix, FaultDuringRead, ::testing::ValuesIn(kFaults),
                         [](const auto &info) { return std::string(info.param.name); });

// ---------------------------------------------------------------------------
// A board that accepts the connection and then never reads: the kernel's
// buffers fill up and a long frame can no longer be sent.

TEST(SilentBoard, LongFrameThatCannotBeSentEndsWithinTheBounds) {
  TestBoard board;
  DeviceCfgState state;
  ASSERT_TRUE(ReadDevice(state, board.address().c_str()));
  board.sim().Stop();
  const net::SocketHandle listener = net::ListenTcp(net::ParseIpv4(board.address().c_str()), DevicePort);
  ASSERT_NE(listener, net::kInvalidSocket);
  state.NewWebServer = std::string(64 * 1024 * 1024, 's');

  const auto start = Clock::now();
  EXPECT_FALSE(SaveDevice(state));
  EXPECT_LT(Clock::now() - start, Bound(1));
  EXPECT_EQ(state.ErrorCode, static_cast<int>(Status::WriteTimeout));
  EXPECT_FALSE(state.CfgReady);
  EXPECT_FALSE(state.DeviceSocket.IsOpen());
  net::CloseSocket(listener);
}

}  // namespace
}  // namespace relay::testing
