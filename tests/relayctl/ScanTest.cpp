// scan against fleets of stand-in boards.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "CtlRun.h"

namespace relayctl::testing {
namespace {

using nlohmann::json;

TEST(Scan, FindsExactlyTheRunningBoardsWithTheirModels) {
  TestFleet fleet("127.3.1.10", 6, {"remote", "keys", "basic"});
  fleet.Board(4).Stop();  // a keys board that is switched off
  sim::SimOptions notABoard;
  notABoard.rawCfgReply = ">hello;";
  sim::RelaySim stranger(sim::BoardConfig{}, notABoard);
  ASSERT_TRUE(stranger.Start("127.3.1.200"));
  sim::SimOptions mute;
  mute.faults.push_back({sim::FaultKind::NoAnswer});
  sim::RelaySim muteBoard(sim::BoardConfig{}, mute);
  ASSERT_TRUE(muteBoard.Start("127.3.1.201"));
  const SilentHost silent("127.3.1.202");

  const CtlResult result =
      RunCtl({"scan", "127.3.1.0/24", "--json", "--timeout", "300", "--reply-timeout", "300"});
  ASSERT_EQ(result.status, 0) << result.err;
  const json found = json::parse(result.out);
  std::vector<std::string> seen;
  for (const json &board : found) {
    seen.push_back(board["address"].get<std::string>() + " " + board["model"].get<std::string>() + " " +
                   board["firmware"].dump() + " " + board["device_id"].dump());
  }
  EXPECT_EQ(seen, (std::vector<std::string>{
                      "127.3.1.10 remote control \"1.0.7\" \"RB002130903306\"",
                      "127.3.1.11 keys null null",
                      "127.3.1.12 basic null null",
                      "127.3.1.13 remote control \"1.0.7\" \"RB002130903309\"",
                      "127.3.1.15 basic null null",
                  }));
  EXPECT_NE(result.err.find("127.3.1.200: port open, the reply is not a board configuration"), std::string::npos)
      << result.err;
  EXPECT_NE(result.err.find("127.3.1.201: port open, no reply"), std::string::npos) << result.err;
  EXPECT_EQ(result.err.find("127.3.1.202"), std::string::npos) << result.err;
  EXPECT_NE(result.err.find("5 boards in 254 addresses"), std::string::npos) << result.err;
  EXPECT_TRUE(result.err.ends_with(" s)\n")) << result.err;  // the closing line, last and whole
}

TEST(Scan, TableShowsAddressModelFirmwareAndId) {
  TestFleet fleet("127.3.2.20", 2, {"remote", "basic"});
  const CtlResult result = RunCtl({"scan", "127.3.2.20-21", "--parallel", "1", "--timeout", "200"});
  ASSERT_EQ(result.status, 0) << result.err;
  EXPECT_EQ(result.out,
            "ADDRESS          MODEL           FIRMWARE   DEVICE ID\n"
            "127.3.2.20       remote control  1.0.7      RB002130903572\n"
            "127.3.2.21       basic           -          -\n");
}

// scan and show judge a board's configuration reply by the same rules, so they
// agree on every fault a board can show in it.
TEST(Scan, AgreesWithShowOnEveryFaultOfTheReply) {
  using sim::FaultKind;
  const FaultKind faults[] = {FaultKind::NoAnswer,      FaultKind::CloseWithoutAnswer, FaultKind::CloseMidReply,
                              FaultKind::Reset,         FaultKind::LowerCaseAck,       FaultKind::TrailingBytes,
                              FaultKind::SplitReply,    FaultKind::OneBytePieces,      FaultKind::Refuse,
                              FaultKind::Garbage,       FaultKind::HugeReply,          FaultKind::AckWithoutApplying,
                              FaultKind::CloseAfterReply};
  TestFleet fleet("127.3.50.10", static_cast<int>(std::size(faults)), {"remote"});
  for (std::size_t i = 0; i < std::size(faults); ++i) {
    sim::SimOptions options;
    options.faults.push_back({faults[i], '1'});
    fleet.Board(i).SetOptions(options);
  }
  const CtlResult scan = RunCtl({"scan", "127.3.50.10-22", "--addresses"});
  ASSERT_EQ(scan.status, 0) << scan.err;
  for (std::size_t i = 0; i < std::size(faults); ++i) {
    const bool found = scan.out.find(fleet.Address(i) + "\n") != std::string::npos;
    const CtlResult show = RunCtl({"show", fleet.Address(i)});
    EXPECT_EQ(show.status == 0, found) << "fault " << static_cast<int>(faults[i]) << ": " << show.err;
  }
}

TEST(Scan, EmptyRangeFindsNothing) {
  const CtlResult result = RunCtl({"scan", "127.3.3.0/24"});
  EXPECT_EQ(result.status, 0) << result.err;
  EXPECT_EQ(result.out, "ADDRESS          MODEL           FIRMWARE   DEVICE ID\n");
}

}  // namespace
}  // namespace relayctl::testing
