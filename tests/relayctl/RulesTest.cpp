// Verification rules and scan replies: pure functions.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "RuleCases.h"
#include "board/Guards.h"
#include "board/Verify.h"
#include "commands/ResultJson.h"
#include "io/BackupFile.h"
#include "link/ScanResult.h"

namespace relayctl {
namespace {

BoardState RemoteBoard(bool remoteOn) {
  BoardState board;
  board.address = "10.0.0.9";
  board.capabilities = {true, true};
  board.settings = {"10.0.0.9", "255.255.255.0", "10.0.0.1", "12312312", false, remoteOn,
                    "10.0.0.53", "relay.example", "012345"};
  return board;
}

TEST(Compare, ReportsOnlyExpectedValuesThatDiffer) {
  Settings expected;
  expected.gateway = "10.0.0.1";
  expected.restore = true;
  expected.keys = "11111111";
  const Settings found = RemoteBoard(true).settings;  // gateway matches, restore and keys do not
  const std::vector<Difference> differences = Compare(expected, found);
  EXPECT_EQ(Describe(differences, TextEncoding::Utf8),
            "keys: wanted 11111111, board has 12312312; restore: wanted on, board has off");
  EXPECT_TRUE(Compare({}, found).empty());
}

TEST(Words, ModelNamesAndThePasswordMask) {
  for (const auto &row : relay::testing::RuleCases("rules", "models")) {
    EXPECT_EQ(ModelName({row[0].get<bool>(), row[1].get<bool>()}), row[2]) << row;
  }
  EXPECT_EQ(relay::testing::RuleCases("rules", "password_mask")[0][0], kMaskedPassword);
}

// The guards on a board at 10.0.0.9/24 (gateway 10.0.0.1); the fleet tests
// cover the rest on loopback boards.
TEST(UnusableSettings, DependOnTheBoardAndTheResultingNetwork) {
  struct Case {
    const char *ip, *mask, *gateway;
    std::size_t reasons;
  } cases[] = {
      {"127.0.0.5", nullptr, nullptr, 2},           // loopback off loopback, gateway then outside
      {"10.0.0.10", "255.255.255.254", "0.0.0.0", 0},  // /31 has no network or broadcast address; no gateway
      {"10.0.0.255", nullptr, nullptr, 1},           // broadcast of /24
      {nullptr, "255.255.0.0", nullptr, 0},          // the gateway stays inside
      {nullptr, nullptr, "10.0.1.1", 1},
  };
  for (const Case &c : cases) {
    Settings expected;
    if (c.ip) expected.ip = c.ip;
    if (c.mask) expected.mask = c.mask;
    if (c.gateway) expected.gateway = c.gateway;
    EXPECT_EQ(UnusableSettings(RemoteBoard(true), expected).size(), c.reasons) << (c.ip ? c.ip : "-");
  }
  Settings held;  // values the board holds already are not written, so never refused
  held.server = std::string(45, 's');
  held.gateway = "192.0.2.1";
  BoardState holding = RemoteBoard(true);
  holding.settings.server = held.server;
  holding.settings.gateway = held.gateway;
  EXPECT_TRUE(UnusableSettings(holding, held).empty());
  Settings restoreOnly;
  restoreOnly.restore = true;
  BoardState odd = RemoteBoard(true);
  odd.settings.gateway = "192.0.2.1";  // already outside: a change elsewhere is not refused for it
  EXPECT_TRUE(UnusableSettings(odd, restoreOnly).empty());
}

TEST(Identify, ModelsFromTheRepliesAndOpenPortsThatAreNoBoards) {
  const std::vector<ProbeReply> replies = {
      {0x0A000001, ">10.0.0.1,255.0.0.0,10.0.0.254,12312312,0,7,RB000000000001123456,10.0.0.53,relay.example,1;"},
      {0x0A000002, ">10.0.0.2,255.0.0.0,10.0.0.254,12312312,1;"},
      {0x0A000003, ">10.0.0.3,255.0.0.0,10.0.0.254,,0;"},
      {0x0A000004, ""},
      {0x0A000005, "HTTP/1.1 400 Bad Request"},
      {0x0A000006, ">10.0.0.6,255.0.0.0,10.0.0.254,12312312,1;\r\n"},  // judged with what came along
      {0x0A000007, ">10.0.0.7,255.0.0.0,10.0.0.254,12312312,0," + std::string(146, '9') +
                       "\x1b[2J,RB\x1b[1A\xe9" "0000000123456,10.0.0.53,relay.example,1;"},
  };
  const ScanResult result = Identify(replies);
  ASSERT_EQ(result.boards.size(), 4u);
  EXPECT_FALSE(result.boards[0].settings.password);  // a scan never holds it
  EXPECT_EQ(ScanTable(result.boards, TextEncoding::Utf8),
            "ADDRESS          MODEL           FIRMWARE   DEVICE ID\n"
            "10.0.0.1         remote control  1.0.7      RB000000000001\n"
            "10.0.0.2         keys            -          -\n"
            "10.0.0.3         basic           -          -\n"
            "10.0.0.7         remote control  1.0." + std::string(146, '9') + "\\x1b[2J  RB\\x1b[1A\xc3\xa9" "0000000\n");
  EXPECT_EQ(result.notBoards, (std::vector<std::string>{"10.0.0.4: port open, no reply",
                                                        "10.0.0.5: port open, the reply is not a board configuration",
                                                        "10.0.0.6: port open, the reply is not a board configuration"}));
  const std::string listed = ScanJson(result.boards);
  const nlohmann::json boards = nlohmann::json::parse(listed);
  EXPECT_EQ(boards[0]["settings"], nlohmann::json::parse(R"({"ip": "10.0.0.1", "mask": "255.0.0.0",
      "gateway": "10.0.0.254", "keys": "12312312", "restore": false, "remote": true, "dns": "10.0.0.53",
      "server": "relay.example"})"));
  EXPECT_EQ(boards[2]["settings"], nlohmann::json::parse(R"({"ip": "10.0.0.3", "mask": "255.0.0.0",
      "gateway": "10.0.0.254", "keys": null, "restore": false, "remote": null, "dns": null, "server": null})"));
  EXPECT_EQ(listed.find("123456"), std::string::npos) << listed;  // never the password
}

}  // namespace
}  // namespace relayctl
