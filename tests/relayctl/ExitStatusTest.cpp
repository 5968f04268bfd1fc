// Exit statuses, and data on standard output with messages on standard error.
#include <gtest/gtest.h>

#include <filesystem>
#include <regex>

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
    std::string standardOutput = {};  // a file for standard output instead of the captured one
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
      {{"show", remote, "--json"}, 74, "/dev/full"},
      {{"backup", remote, "-o", "-"}, 74, "/dev/full"},  // written past the streams
  };
  for (const Case &c : cases) {
    std::string line;
    for (const std::string &argument : c.arguments) line += argument + " ";
    const CtlResult result = RunCtl(c.arguments, {}, {}, c.standardOutput);
    EXPECT_EQ(result.status, c.status) << line << "\n" << result.err;
    if (c.status != 0) {
      EXPECT_FALSE(result.err.empty()) << line;
    }
  }
  EXPECT_EQ(fleet.Board(1).Frames().size(), 1u);  // the basic board was only read
}

// Input that must not reach a board: each row's status, the key words of its
// message, and afterwards no board has received anything but reads.
TEST(ExitStatus, BadInputIsRefusedBeforeAnythingIsWritten) {
  TestFleet fleet("127.3.51.10", 2, {"remote"});
  const std::string board = fleet.Address(0), other = fleet.Address(1);
  const std::string otherBackup = TempPath("other.json");
  ASSERT_EQ(RunCtl({"backup", other, "-o", otherBackup}).status, 0);
  // A backup with a NUL in a text, and one with a number beyond a double, also
  // as the newest backup of the board in a folder whose name has the byte 0xE9.
  const std::string nul = TempPath("nul.json"), overflow = TempPath("overflow.json"), folder = TempPath("caf\xe9");
  const std::string valid = ReadAll(otherBackup);
  WriteAll(nul, std::regex_replace(valid, std::regex("relay.example.net"), "good.example\\u0000.evil"));
  WriteAll(overflow, std::regex_replace(valid, std::regex("\"restore\": false"), "\"restore\": 1e400"));
  ASSERT_EQ(RunCtl({"backup", "--dir", folder, "--to", board}).status, 0);
  for (const auto &entry : std::filesystem::directory_iterator(folder)) {
    WriteAll(entry.path().string(),
             std::regex_replace(ReadAll(entry.path().string()), std::regex("\"restore\": false"), "\"restore\": 1e400"));
  }
  struct Case {
    std::vector<std::string> arguments;
    int status;
    const char *words;
  };
  const Case cases[] = {
      {{"show", "127.3.51.1a"}, 64, "'1a' is not a valid integer value"},
      {{"show", "127.3.51"}, 64, "'127.3.51' is not an IPv4 address"},
      {{"show", "0.0.0.0"}, 64, "names no board"},
      {{"set", "127.3.51.300", "restore=on"}, 64, "'127.3.51.300' is not an IPv4 address"},
      {{"apply", otherBackup, "--to", "127.3.x.10"}, 64, "'x' is not a valid integer value"},
      {{"scan", "127.3.51.0/24", "--json", "--addresses"}, 64, "excludes"},
      {{"set", board, "restore=on", "--verify", "--wait", "nan"}, 64, "'nan' is not a number of seconds"},
      {{"set", board, "restore=on", "--verify", "--wait", "inf"}, 64, "'inf' is not a number of seconds"},
      {{"set", board, "ip=0.0.0.0"}, 1, "ip 0.0.0.0 is no host address"},
      {{"set", board, "ip=255.255.255.255"}, 1, "is no host address"},
      {{"set", board, "ip=224.0.0.5"}, 1, "multicast"},
      {{"set", board, "ip=127.255.255.255"}, 1, "broadcast address of mask 255.0.0.0"},
      {{"set", board, "ip=127.0.0.0"}, 1, "network address of mask 255.0.0.0"},
      {{"set", board, "mask=255.0.255.0"}, 1, "mask 255.0.255.0 does not have its ones together"},
      {{"set", board, "mask=255.255.255.0"}, 1, "gateway 127.0.0.254 is outside the subnet"},
      {{"set", board, "server=" + std::string(40, 's')}, 1, "40 characters, more than 39"},
      {{"set", board, "ip=" + other}, 1, "board RB002130916107 (remote control) already answers at 127.3.51.11"},
      {{"restore", board, otherBackup, "--other-board"}, 1, "already answers at 127.3.51.11"},
      {{"restore", other, nul}, 64, "settings.server holds a NUL character"},
      {{"apply", overflow, "--to", board}, 64, "unreadable JSON"},
      {{"restore", "--dir", folder, "--to", board}, 64, "unreadable JSON"},
  };
  for (const Case &c : cases) {
    std::string line;
    for (const std::string &argument : c.arguments) line += argument + " ";
    const CtlResult result = RunCtl(c.arguments);
    EXPECT_EQ(result.status, c.status) << line << "\n" << result.err;
    EXPECT_NE((result.err + result.out).find(c.words), std::string::npos) << line << "\n" << result.err << result.out;
  }
  for (std::size_t i = 0; i < 2; ++i) {
    for (const std::string &frame : fleet.Board(i).Frames()) EXPECT_EQ(frame.substr(0, 2), "#1") << frame;
  }
}

// --check on every writing command: what would change (the password's digits
// never), status 5 or 0, failures above 5, and no board receives anything but
// reads. That the plan is what a save writes is PlanWriteTest's.
TEST(ExitStatus, ChecksTellWhatWouldChangeAndWriteNothing) {
  TestFleet fleet("127.3.93.10", 2, {"remote"});
  const std::string board = fleet.Address(0), other = fleet.Address(1), nobody = "127.3.93.99";
  const std::string backup = TempPath("backup.json"), folder = TempPath("dir");
  ASSERT_EQ(RunCtl({"backup", board, "-o", backup}).status, 0);
  ASSERT_EQ(RunCtl({"backup", "--dir", folder, "--to", board}).status, 0);
  sim::BoardConfig changed = fleet.Board(0).Config();
  changed.gateway = "127.0.0.99";
  fleet.Board(0).SetConfig(changed);
  fleet.Board(0).ClearFrames();
  struct Case {
    std::vector<std::string> arguments;
    int status;
    const char *said;  // on standard output or error
  };
  const Case cases[] = {
      {{"set", board, "gateway=127.0.0.1", "password=654321", "--check"}, 5,
       "Would change gateway 127.0.0.99 -> 127.0.0.1, password (changes); nothing written."},
      {{"set", board, "mask=300.1.1.1", "--check"}, 1, "Subnet mask is wrong. (2002)"},
      {{"set", board, "password=654321", "--check", "--json"}, 5,
       R"("changes":[{"setting":"password","before":"********","after":"********"}])"},
      {{"restore", board, backup, "--check", "--json"}, 5,
       R"("changed":true,"changes":[{"setting":"gateway","before":"127.0.0.99","after":"127.0.0.254"}]})"},
      {{"restore", "--dir", folder, "--to", board, "--check"}, 5, "would-change"},
      {{"apply", backup, "--to", board, other, "--check", "--json"}, 0, R"("result":"ok")"},
      {{"apply", backup, "--to", board, nobody, "--check"}, 2, "failed"},
  };
  for (const Case &c : cases) {
    std::string line;
    for (const std::string &argument : c.arguments) line += argument + " ";
    const CtlResult result = RunCtl(c.arguments);
    EXPECT_EQ(result.status, c.status) << line << "\n" << result.err << result.out;
    EXPECT_NE((result.out + result.err).find(c.said), std::string::npos) << line << "\n" << result.err << result.out;
    EXPECT_EQ((result.out + result.err).find("654321"), std::string::npos) << line;
  }
  for (std::size_t i = 0; i < 2; ++i) {
    for (const std::string &frame : fleet.Board(i).Frames()) EXPECT_EQ(frame.substr(0, 2), "#1") << frame;
  }
  const CtlResult written = RunCtl({"set", board, "gateway=127.0.0.1", "--json"});
  EXPECT_EQ(written.status, 0) << written.err;
  EXPECT_NE(written.out.find(R"("changed":true,"changes":[{"setting":"gateway","before":"127.0.0.99","after":"127.0.0.1"}],"restarted":true,"verified":false})"),
            std::string::npos)
      << written.out;
}

TEST(ExitStatus, AddressesAreReadAsTheConnectDialogReadsThem) {
  TestFleet fleet("127.3.52.10", 1, {"basic"});
  for (const char *typed : {"127.3.52.010", " 127.3.52.10 ", "0x7f.3.52.10"}) {
    const CtlResult result = RunCtl({"show", typed});
    EXPECT_EQ(result.status, 0) << typed << ": " << result.err;
    EXPECT_EQ(result.out.rfind("address       127.3.52.10\n", 0), 0u) << typed << ": " << result.out;
  }
}

// A save that stops at a refused write: the board is read again and the
// report names what it holds and what it does not; status 4 once anything
// was written. The last row is a refused restart after every write.
TEST(ExitStatus, PartWrittenSavesSayWhatTheBoardHolds) {
  TestFleet fleet("127.3.53.10", 1, {"remote"});
  sim::BoardConfig remoteOff = fleet.Board(0).Config();
  remoteOff.enableWeb = false;
  const std::vector<std::string> everything = {"set",          fleet.Address(0),       "ip=127.3.53.50",
                                               "mask=255.255.0.0", "gateway=127.3.0.1", "keys=33333333",
                                               "restore=on",   "remote=on",            "dns=127.0.0.54",
                                               "server=other.example", "password=654321"};
  const char *const names[] = {"ip", "mask", "gateway", "keys", "restore", "remote", "dns", "server", "password"};
  const std::string codes = "23456A89B7";  // the writes in their order, then the restart
  for (std::size_t position = 0; position < 10; ++position) {
    fleet.Board(0).SetConfig(remoteOff);
    sim::SimOptions refuse;
    refuse.faults.push_back({sim::FaultKind::Refuse, codes[position]});
    fleet.Board(0).SetOptions(refuse);
    const CtlResult result = RunCtl(everything);
    std::string written, unwritten;
    for (std::size_t i = 0; i < 9; ++i) ((i < position ? written : unwritten) += ", ") += names[i];
    if (position == 0) {
      EXPECT_EQ(result.status, 2) << result.err;
      EXPECT_NE(result.err.find("Nothing was written."), std::string::npos) << result.err;
    } else if (position < 9) {
      EXPECT_EQ(result.status, 4) << result.err;
      EXPECT_NE(result.err.find("Partly written, not restarted: the board holds the new " + written.substr(2) +
                                "; not written: " + unwritten.substr(2) + "."),
                std::string::npos)
          << result.err;
    } else {
      EXPECT_EQ(result.status, 4) << result.err;
      EXPECT_NE(result.err.find("Written, not restarted: the board holds the new " + written.substr(2)),
                std::string::npos)
          << result.err;
    }
  }
}

// What is written, and in which order, is PlanWriteTest's.
TEST(ExitStatus, SetSaysItsOutcomeOnStandardErrorOnly) {
  TestFleet fleet("127.3.41.10", 1, {"remote"});
  const CtlResult result = RunCtl({"set", fleet.Address(0), "restore=on", "key3=keep", "gateway= 127.0.0.001 "});
  EXPECT_EQ(result.status, 0);
  EXPECT_EQ(result.out, "");
  EXPECT_EQ(result.err, "relayctl: 127.3.41.10: Config was saved successfully, and device was restarted.\n");
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
