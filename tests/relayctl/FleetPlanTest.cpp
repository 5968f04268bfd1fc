// The plan of a stand-in fleet: addresses, models and device IDs.
#include <gtest/gtest.h>

#include <set>

#include "SimFleet.h"

namespace relay::sim {
namespace {

TEST(PlanFleet, ConsecutiveAddressesAcrossOctetsWithModelsInTurn) {
  const auto plan = PlanFleet(BoardConfig{}, 4, "127.0.0.254", {"remote", "keys", "basic"});
  ASSERT_TRUE(plan);
  std::vector<std::string> seen;
  std::set<std::string> ids;
  for (const FleetBoard &board : *plan) {
    seen.push_back(board.address + " " + std::to_string(static_cast<int>(board.config.model)) + " " +
                   (board.config.buttonCfg.empty() ? "-" : board.config.buttonCfg));
    EXPECT_EQ(board.config.ipAddr, board.address);
    ids.insert(board.config.deviceId);
    EXPECT_EQ(board.config.deviceId.size(), 14u);
  }
  EXPECT_EQ(seen, (std::vector<std::string>{"127.0.0.254 1 12312312", "127.0.0.255 0 12312312", "127.0.1.0 0 -",
                                            "127.0.1.1 1 12312312"}));
  EXPECT_EQ(ids.size(), 4u);
}

TEST(PlanFleet, Refusals) {
  EXPECT_FALSE(PlanFleet(BoardConfig{}, 2, "10.0.0.1", {"remote"}));
  EXPECT_FALSE(PlanFleet(BoardConfig{}, 2, "127.255.255.255", {"remote"}));
  EXPECT_FALSE(PlanFleet(BoardConfig{}, 2, "127.0.0.1", {"remote", "fancy"}));
  EXPECT_FALSE(PlanFleet(BoardConfig{}, 2, "127.0.0.1", {}));
  EXPECT_FALSE(PlanFleet(BoardConfig{}, 1, "127.0.0", {"basic"}));
  EXPECT_FALSE(PlanFleet(BoardConfig{}, 1, "127.0.0.300", {"basic"}));
  EXPECT_FALSE(PlanFleet(BoardConfig{}, 0, "127.0.0.1", {"basic"}));
  EXPECT_FALSE(PlanFleet(BoardConfig{}, -1, "127.0.0.1", {"basic"}));
  EXPECT_FALSE(PlanFleet(BoardConfig{}, kMaxFleetBoards + 1, "127.0.0.1", {"basic"}));
  EXPECT_TRUE(PlanFleet(BoardConfig{}, kMaxFleetBoards, "127.0.0.1", {"basic"}));
  EXPECT_TRUE(PlanFleet(BoardConfig{}, 1, "127.255.255.255", {"basic"}));
}

}  // namespace
}  // namespace relay::sim
