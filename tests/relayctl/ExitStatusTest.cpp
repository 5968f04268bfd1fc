// Exit statuses, and data on standard output with messages on standard error.
#include <gtest/gtest.h>

#include "CtlRun.h"

namespace relayctl::testing {
namespace {

TEST(ExitStatus, EveryOutcomeHasItsStatus) {
  TestFleet fleet("127.3.40.10", 2, {"remote", "basic"});
  const std::string remote = fleet.Address(0), basic = fleet.Address(1), nobody = "127.3.40.99";
  const std::string badFile = TempPath("bad.json");
  WriteAll(badFile, R"({"format": "relayctl-backup", "format_version": 1, "capabilities": {}, "settings": {}})");
  struct Case {
    std::vector<std::string> arguments;
    int status;
  };
  const Case cases[] = {
      {{"set", remote, "restore=off"}, 0},  // nothing differs
      {{"set", remote, "mask=300.1.1.1"}, 1},
      {{"set", remote, "remote=on", "password=12345"}, 1},
      {{"set", basic, "dns=127.0.0.1"}, 1},  // refused before anything is sent
      {{"set", nobody, "restore=on"}, 2},
      {{"show", nobody}, 2},
      {{"backup", nobody, "-o", TempPath("none.json")}, 2},
      {{"set", remote, "colour=red"}, 64},
      {{"set", remote, "keys=1234"}, 64},
      {{"set", remote, "key9=jog"}, 64},
      {{"set", remote, "restore=yes"}, 64},
      {{"set", remote}, 64},
      {{"show", "board-7"}, 64},
      {{"restore", remote, TempPath("missing.json")}, 64},
      {{"restore", remote, badFile}, 64},
      {{"apply", badFile}, 64},
      {{"scan", "127.3.0.0/15"}, 64},
      {{"scan", "127.3.40.0/24", "--parallel", "0"}, 64},
      {{"frobnicate"}, 64},
      {{}, 64},
      {{"--help"}, 0},
  };
  for (const Case &c : cases) {
    std::string line;
    for (const std::string &argument : c.arguments) line += argument + " ";
    const CtlResult result = RunCtl(c.arguments);
    EXPECT_EQ(result.status, c.status) << line << "\n" << result.err;
    if (c.status != 0) {
      EXPECT_FALSE(result.err.empty()) << line;
    }
  }
  EXPECT_EQ(fleet.Board(1).Frames().size(), 1u);  // the basic board was only read
}

TEST(ExitStatus, SetWritesOnlyWhatDiffersInOrderAndSaysSoOnStandardError) {
  TestFleet fleet("127.3.41.10", 1, {"remote"});
  const CtlResult result = RunCtl({"set", fleet.Address(0), "restore=on", "key3=keep", "gateway= 127.0.0.001 "});
  EXPECT_EQ(result.status, 0);
  EXPECT_EQ(result.out, "");
  EXPECT_EQ(result.err, "relayctl: 127.3.41.10: Config was saved successfully, and device was restarted.\n");
  const std::vector<std::string> frames = fleet.Board(0).Frames();
  ASSERT_EQ(frames.size(), 5u);
  EXPECT_EQ(frames[1].substr(0, 2) + frames[1].substr(frames[1].find(',')), "#4,127.0.0.1;");
  EXPECT_EQ(frames[2].substr(0, 2) + frames[2].substr(frames[2].find(',')), "#5,12112312;");
  EXPECT_EQ(frames[3].substr(0, 2) + frames[3].substr(frames[3].find(',')), "#6,1;");
  EXPECT_EQ(frames[4].substr(0, 2), "#7");
}

TEST(ExitStatus, ShowPrintsDataOnStandardOutputOnly) {
  TestFleet fleet("127.3.42.10", 1, {"keys"});
  const CtlResult result = RunCtl({"show", fleet.Address(0)});
  EXPECT_EQ(result.status, 0);
  EXPECT_EQ(result.err, "");
  EXPECT_EQ(result.out,
            "address       127.3.42.10\n"
            "model         keys\n"
            "firmware      -\n"
            "device id     -\n"
            "capabilities  remote control no, keys yes\n"
            "ip            127.3.42.10\n"
            "mask          255.0.0.0\n"
            "gateway       127.0.0.254\n"
            "keys          12312312  key1=keep key2=follow key3=jog key4=keep key5=follow key6=jog key7=keep "
            "key8=follow\n"
            "restore       off\n");
}

}  // namespace
}  // namespace relayctl::testing
