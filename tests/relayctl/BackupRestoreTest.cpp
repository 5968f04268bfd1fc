// backup and restore against stand-in boards.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <nlohmann/json.hpp>
#include <regex>

#include "CtlRun.h"

namespace relayctl::testing {
namespace {

// Frames with their request tag replaced by "T".
std::vector<std::string> Untagged(const std::vector<std::string> &frames) {
  std::vector<std::string> result;
  for (const std::string &frame : frames) result.push_back(std::regex_replace(frame, std::regex("^#(.)\\d+"), "#$1T"));
  return result;
}

TEST(BackupRestore, RestoreOntoAChangedBoardSendsOnlyTheDifferences) {
  TestFleet fleet("127.3.10.10", 1, {"remote"});
  sim::RelaySim &board = fleet.Board(0);
  const sim::BoardConfig original = board.Config();
  const std::string file = TempPath("backup.json");
  ASSERT_EQ(RunCtl({"backup", fleet.Address(0), "-o", file}).status, 0);

  sim::BoardConfig changed = original;
  changed.gateway = "127.0.0.99";
  changed.buttonCfg = "33333333";
  changed.webServer = "other.example.net";
  board.SetConfig(changed);
  board.ClearFrames();

  const CtlResult restored = RunCtl({"restore", fleet.Address(0), file});
  EXPECT_EQ(restored.status, 0) << restored.err;
  EXPECT_EQ(Untagged(board.Frames()),
            (std::vector<std::string>{"#1T;", "#4T,127.0.0.254;", "#5T,12312312;", "#9T,relay.example.net;", "#7T;"}));
  const sim::BoardConfig now = board.Config();
  EXPECT_EQ(now.gateway, original.gateway);
  EXPECT_EQ(now.buttonCfg, original.buttonCfg);
  EXPECT_EQ(now.webServer, original.webServer);

  board.ClearFrames();
  const CtlResult again = RunCtl({"restore", fleet.Address(0), file});
  EXPECT_EQ(again.status, 0);
  EXPECT_NE(again.err.find("Config was saved successfully."), std::string::npos) << again.err;
  EXPECT_EQ(Untagged(board.Frames()), std::vector<std::string>{"#1T;"});
}

TEST(BackupRestore, DefaultFileIsNamedAfterTheDeviceIdOrTheAddress) {
  TestFleet fleet("127.3.11.10", 2, {"remote", "basic"});
  const std::string dir = TempPath("dir");
  ASSERT_EQ(std::system(("mkdir -p " + dir).c_str()), 0);
  const CtlResult remote = RunCtl({"backup", fleet.Address(0)}, dir);
  const CtlResult basic = RunCtl({"backup", fleet.Address(1)}, dir);
  EXPECT_EQ(remote.status, 0) << remote.err;
  EXPECT_EQ(basic.status, 0) << basic.err;
  EXPECT_TRUE(std::filesystem::exists(dir + "/RB002130905866.json"));
  EXPECT_TRUE(std::filesystem::exists(dir + "/127.3.11.11.json"));
  const auto perms = std::filesystem::status(dir + "/RB002130905866.json").permissions();
  EXPECT_EQ(perms & std::filesystem::perms::others_read, std::filesystem::perms::none);
}

// backup --dir: a file per board named by device ID or address and date; a
// second run replaces the file of the board with a device ID but not that of
// the board without one; a board that does not answer is listed. restore
// --dir brings each board back from its own newest file.
TEST(BackupRestore, ManyBoardsToAFolderAndBack) {
  TestFleet fleet("127.3.13.10", 2, {"remote", "basic"});
  const std::string dir = TempPath("many");
  const std::vector<std::string> run = {"backup", "--dir", dir, "--to", fleet.Address(0), fleet.Address(1),
                                        "127.3.13.99"};
  for (int round = 1; round <= 2; ++round) {
    const CtlResult result = RunCtl(run);
    EXPECT_EQ(result.status, 2) << result.err;
    EXPECT_NE(result.err.find("2 of 3 boards backed up to " + dir + "; not answering: 127.3.13.99"),
              std::string::npos)
        << result.err;
  }
  std::vector<std::string> names;
  for (const auto &entry : std::filesystem::directory_iterator(dir)) {
    names.push_back(std::regex_replace(entry.path().filename().string(), std::regex("\\d{4}-\\d{2}-\\d{2}"), "DATE"));
  }
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{"127.3.13.11-DATE-2.json", "127.3.13.11-DATE.json",
                                             "RB002130906378-DATE.json"}));
  const CtlResult scanned = RunCtl({"backup", "127.3.13.0/24", "--dir", dir + "/scan", "--parallel", "1"});
  EXPECT_EQ(scanned.status, 0) << scanned.err;
  EXPECT_NE(scanned.err.find("2 of 2 boards backed up"), std::string::npos) << scanned.err;

  const std::vector<sim::BoardConfig> original = {fleet.Board(0).Config(), fleet.Board(1).Config()};
  for (std::size_t i = 0; i < 2; ++i) {
    sim::BoardConfig changed = original[i];
    changed.gateway = "127.0.0.99";
    fleet.Board(i).SetConfig(changed);
  }
  const CtlResult restored =
      RunCtl({"restore", "--dir", dir, "--to", fleet.Address(0), fleet.Address(1), "127.3.13.99"});
  EXPECT_EQ(restored.status, 2) << restored.err;
  EXPECT_NE(restored.err.find("2 of 3 boards restored from " + dir), std::string::npos) << restored.err;
  for (std::size_t i = 0; i < 2; ++i) EXPECT_EQ(fleet.Board(i).Config().gateway, original[i].gateway);
}

TEST(BackupRestore, RefusesBeforeSendingAnything) {
  TestFleet fleet("127.3.12.10", 3, {"remote", "remote", "keys"});
  const std::string file = TempPath("backup.json");
  ASSERT_EQ(RunCtl({"backup", fleet.Address(0), "-o", file}).status, 0);
  fleet.Board(1).ClearFrames();
  fleet.Board(2).ClearFrames();

  const CtlResult otherId = RunCtl({"restore", fleet.Address(1), file});
  EXPECT_EQ(otherId.status, 1);
  EXPECT_NE(otherId.err.find("the backup is of board RB002130906122"), std::string::npos) << otherId.err;

  const CtlResult noRemote = RunCtl({"restore", fleet.Address(2), file, "--other-board"});
  EXPECT_EQ(noRemote.status, 1);
  EXPECT_NE(noRemote.err.find("a keys board cannot take remote, dns, server, password"), std::string::npos)
      << noRemote.err;

  EXPECT_EQ(fleet.Board(1).Frames().size(), 1u);  // the read only
  EXPECT_EQ(fleet.Board(2).Frames().size(), 1u);
}

TEST(BackupRestore, UnusableFilesAreRefusedWithTheirReason) {
  TestFleet fleet("127.3.57.10", 1, {"remote"});
  const std::string board = fleet.Address(0), dir = TempPath("dir"), fifo = TempPath("fifo");
  std::filesystem::create_directory(dir);
  ASSERT_EQ(mkfifo(fifo.c_str(), 0640), 0);
  const auto fifoPerms = std::filesystem::status(fifo).permissions();
  const std::string formatFive = TempPath("five.json"), syntax = TempPath("syntax.json");
  const std::string good = TempPath("good.json");
  WriteAll(formatFive, R"({"format": 5})");
  WriteAll(syntax, "{\n  \"format\": x");
  const std::string goodText = R"({"format": "relayctl-backup", "format_version": 1,
                                  "capabilities": {"remote_control": true, "keys": true}, "settings": {}})";
  WriteAll(good, goodText);
  const std::string large = TempPath("large.json");  // valid, but one byte over 1 MiB
  WriteAll(large, goodText + std::string((1 << 20) + 1 - goodText.size(), ' '));
  struct Case {
    std::vector<std::string> arguments;
    const char *said;
  };
  const Case cases[] = {
      {{"restore", board, dir}, "Is a directory"},
      {{"restore", board, TempPath("missing.json")}, "No such file or directory"},
      {{"restore", board, formatFive}, "\"format\""},
      {{"restore", board, syntax}, "line 2, column 13"},
      {{"apply", large, "--to", board}, "larger than 1 MiB"},
      {{"apply", good, "--to-list", "/dev/zero"}, "larger than 1 MiB"},
      {{"apply", good, "--to-list", dir}, "Is a directory"},
      {{"backup", board, "-o", fifo}, "not a regular file"},
      {{"backup", board, "-o", dir}, "not a regular file"},
      {{"backup", board, "-o", dir + "/none/b.json"}, "No such file or directory"},
  };
  for (const Case &c : cases) {
    const CtlResult result = RunCtl(c.arguments);
    EXPECT_EQ(result.status, 64) << c.arguments[2] << "\n" << result.err;
    EXPECT_NE(result.err.find(c.said), std::string::npos) << c.arguments[2] << "\n" << result.err;
  }
  EXPECT_TRUE(std::filesystem::is_fifo(fifo));
  EXPECT_EQ(std::filesystem::status(fifo).permissions(), fifoPerms);
  EXPECT_TRUE(std::filesystem::is_empty(dir));
  for (const std::string &frame : fleet.Board(0).Frames()) EXPECT_EQ(frame.substr(0, 2), "#1");  // reads only
}

TEST(BackupRestore, ABackupReplacesTheFileBehindALinkAndAFailedOneLeavesItAsItWas) {
  TestFleet fleet("127.3.58.10", 1, {"remote"});
  const std::string dir = TempPath("dir"), file = dir + "/board.json", link = dir + "/link.json";
  std::filesystem::create_directory(dir);
  WriteAll(file, "an older backup");
  std::filesystem::create_symlink(file, link);
  const CtlResult written = RunCtl({"backup", fleet.Address(0), "-o", link});
  ASSERT_EQ(written.status, 0) << written.err;
  EXPECT_TRUE(std::filesystem::is_symlink(link));
  EXPECT_EQ(std::filesystem::status(file).permissions(),
            std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
  const std::string before = ReadAll(file);
  EXPECT_EQ(RunCtl({"backup", fleet.Address(0), "-o", "-"}).out, before);

  sim::BoardConfig config = fleet.Board(0).Config();
  config.webServer = std::string(150, 's') + ".example.net";  // a backup larger than the one block allowed
  fleet.Board(0).SetConfig(config);
  const CtlResult limited = RunCtl({"backup", fleet.Address(0), "-o", file}, {}, "-f 1");
  EXPECT_EQ(limited.status, 64);
  EXPECT_NE(limited.err.find("cannot write " + file + ": File too large"), std::string::npos) << limited.err;
  EXPECT_EQ(ReadAll(file), before);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir), std::filesystem::directory_iterator()), 2);
}

// A hostile board's text: escape sequences (clear screen, cursor up, an OSC,
// C1 CSI) in its firmware and device ID, the byte 0xE9 in its device ID and
// server name. No terminal output carries a control byte, JSON carries every
// byte, the backup is named after the address and restores the same bytes.
TEST(BackupRestore, ABoardsTextIsCarriedByteForByteAndNeverReachesTheTerminalRaw) {
  TestFleet fleet("127.3.90.10", 1, {"remote"});
  sim::BoardConfig hostile = fleet.Board(0).Config();
  hostile.version = "7\x1b[2J\x1b]52\x07";
  hostile.deviceId = "RB\x1b[1A\x9b" "2K\xe9" "0000";
  hostile.webServer = "serv\xe9ur.example";
  fleet.Board(0).SetConfig(hostile);
  const std::string board = fleet.Address(0), dir = TempPath("hostile");
  std::filesystem::create_directory(dir);
  const auto raw = [](const std::string &text) { return text.find_first_of("\x1b\x07\x9b") != std::string::npos; };
  for (const char *locale : {"C.UTF-8", "C"}) {
    setenv("LC_ALL", locale, 1);
    const CtlResult shown = RunCtl({"show", board});
    EXPECT_EQ(shown.status, 0) << locale << shown.err;
    EXPECT_FALSE(raw(shown.out)) << locale << shown.out;
    EXPECT_NE(shown.out.find("1.0.7\\x1b[2J\\x1b]52\\x07\n"), std::string::npos) << locale << shown.out;
    const CtlResult scanned = RunCtl({"scan", board});
    EXPECT_EQ(scanned.status, 0) << locale << scanned.err;
    EXPECT_FALSE(raw(scanned.out)) << locale << scanned.out;
    EXPECT_EQ(std::count(scanned.out.begin(), scanned.out.end(), '\n'), 2) << locale << scanned.out;
  }
  EXPECT_NE(RunCtl({"show", board}).out.find("serv\xe9ur"), std::string::npos);  // C: the byte as it is
  setenv("LC_ALL", "C.UTF-8", 1);
  EXPECT_NE(RunCtl({"show", board}).out.find("serv\xc3\xa9ur"), std::string::npos);
  const nlohmann::json shownJson = nlohmann::json::parse(RunCtl({"show", board, "--json"}).out);
  EXPECT_EQ(shownJson["settings"]["server"], "serv\u00e9ur.example");
  EXPECT_EQ(shownJson["device_id"], "RB\u001b[1A\u009b2K\u00e90000");
  const nlohmann::json scannedJson = nlohmann::json::parse(RunCtl({"scan", board, "--json"}).out)[0];
  EXPECT_EQ(scannedJson["firmware"], "1.0.7\u001b[2J\u001b]52\u0007");
  nlohmann::json shownSettings = shownJson["settings"];
  shownSettings.erase("password");
  EXPECT_EQ(scannedJson["settings"], shownSettings);  // scan and show read the settings alike, but the password

  const CtlResult backedUp = RunCtl({"backup", board}, dir);
  ASSERT_EQ(backedUp.status, 0) << backedUp.err;
  EXPECT_FALSE(raw(backedUp.err)) << backedUp.err;
  ASSERT_TRUE(std::filesystem::exists(dir + "/" + board + ".json"));  // the ID picks no path
  sim::BoardConfig changed = hostile;
  changed.webServer = "other.example";
  fleet.Board(0).SetConfig(changed);
  const CtlResult restored = RunCtl({"restore", board, dir + "/" + board + ".json"});
  EXPECT_EQ(restored.status, 0) << restored.err;
  EXPECT_EQ(fleet.Board(0).Config().webServer, hostile.webServer);

  const CtlResult typed = RunCtl({"set", board, "server=caf\xc3\xa9.example"});  // é typed in a UTF-8 locale
  EXPECT_EQ(typed.status, 0) << typed.err;
  EXPECT_EQ(fleet.Board(0).Config().webServer, "caf\xe9.example");
  const CtlResult euro = RunCtl({"set", board, "server=\xe2\x82\xac.example"});
  EXPECT_EQ(euro.status, 64) << euro.err;
  EXPECT_NE(euro.err.find("U+20AC"), std::string::npos) << euro.err;
  unsetenv("LC_ALL");
}

// backup --dir with device IDs that would climb out of the folder or that two
// boards share, and a FIFO under the name of the next backup.
TEST(BackupRestore, ABoardsIdNeverPicksAPathAndNoTwoBoardsShareAFile) {
  TestFleet fleet("127.3.91.10", 3, {"remote"});
  const std::string ids[] = {"../../../pwned", "RB000000000777", "RB000000000777"};
  for (std::size_t i = 0; i < 3; ++i) {
    sim::BoardConfig config = fleet.Board(i).Config();
    config.deviceId = ids[i];
    fleet.Board(i).SetConfig(config);
  }
  const std::string top = TempPath("top"), dir = top + "/a/b/c";
  std::filesystem::create_directories(dir);
  char date[16];
  const std::time_t now = std::time(nullptr);
  std::strftime(date, sizeof date, "%Y-%m-%d", std::localtime(&now));
  const std::string fifo = dir + "/RB000000000777-" + date + ".json";
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  const CtlResult result =
      RunCtl({"backup", "--dir", dir, "--to", fleet.Address(0), fleet.Address(1), fleet.Address(2), "--parallel", "1"});
  EXPECT_EQ(result.status, 0) << result.err;
  std::vector<std::string> names;
  for (const auto &entry : std::filesystem::recursive_directory_iterator(top)) {
    names.push_back(entry.path().lexically_relative(top).string());
  }
  std::sort(names.begin(), names.end());
  const std::string day = std::string("-") + date;
  EXPECT_EQ(names, (std::vector<std::string>{"a", "a/b", "a/b/c", "a/b/c/127.3.91.10" + day + ".json",
                                             "a/b/c/RB000000000777" + day + "-2.json",
                                             "a/b/c/RB000000000777" + day + "-3.json",
                                             "a/b/c/RB000000000777" + day + ".json"}));
  EXPECT_TRUE(std::filesystem::is_fifo(fifo));
  for (const char *named : {"-2.json", "-3.json", "not a regular file, left alone"}) {
    EXPECT_NE(result.out.find(named), std::string::npos) << named << "\n" << result.out;
  }
}

// Boards reporting key modes outside 1..3 (even no digit), texts longer than
// 200 bytes or longer than relayctl writes, or a server with blanks at its
// ends: their own backups hold every text whole. Restored onto the board
// with its gateway changed, the plan, the frames and the report name the
// gateway and only what the library rewrites itself: the server it trims
// while remote control is on.
TEST(BackupRestore, EveryBackupRestoresToTheBoardItCameFrom) {
  struct Row {
    std::string keys, server, version;
    bool remote;
    std::vector<std::string> alsoWritten;
  };
  const Row rows[] = {
      {"12312310", std::string(45, 's') + ".example", "7", true, {}},
      {"34\xE9" "21131", std::string(260, 's'), std::string(260, 'v'), true, {}},
      {"12312312", "relay.example.net  ", "7", false, {}},
      {"12312312", "relay.example.net  ", "7", true, {"#9T,relay.example.net;"}},
  };
  TestFleet fleet("127.3.92.10", 1, {"remote"});
  const std::string folder = TempPath("caf\xe9");  // a folder name that is no UTF-8
  for (const Row &row : rows) {
    SCOPED_TRACE(row.keys + " " + row.server);
    sim::BoardConfig odd = fleet.Board(0).Config();
    odd.gateway = "127.0.0.254";
    odd.buttonCfg = row.keys;
    odd.webServer = row.server;
    odd.version = row.version;
    odd.enableWeb = row.remote;
    fleet.Board(0).SetConfig(odd);
    std::filesystem::remove_all(folder);
    ASSERT_EQ(RunCtl({"backup", "--dir", folder, "--to", fleet.Address(0)}).status, 0);
    const nlohmann::json backup =
        nlohmann::json::parse(ReadAll(std::filesystem::directory_iterator(folder)->path().string()));
    EXPECT_EQ(backup["firmware"].get<std::string>().size(), row.version.size() + 4);
    EXPECT_EQ(backup["settings"]["server"].get<std::string>().size(), row.server.size());
    EXPECT_EQ(backup["settings"]["keys"].get<std::string>().find("\u00e9"), row.keys.find('\xE9'));
    sim::BoardConfig changed = odd;
    changed.gateway = "127.0.0.99";
    fleet.Board(0).SetConfig(changed);
    fleet.Board(0).ClearFrames();
    const CtlResult planned = RunCtl({"restore", "--dir", folder, "--to", fleet.Address(0), "--check", "--json"});
    EXPECT_EQ(Untagged(fleet.Board(0).Frames()), std::vector<std::string>{"#1T;"});
    fleet.Board(0).ClearFrames();
    const CtlResult restored = RunCtl({"restore", "--dir", folder, "--to", fleet.Address(0), "--json"});
    EXPECT_EQ(restored.status, 0) << restored.err;
    const bool oddKeys = row.keys.find_first_not_of("123") != std::string::npos;
    EXPECT_EQ(restored.out.find("not 1..3 in the backup: kept as the board has it") != std::string::npos, oddKeys)
        << restored.out;
    std::vector<std::string> frames = {"#1T;", "#4T,127.0.0.254;"};
    frames.insert(frames.end(), row.alsoWritten.begin(), row.alsoWritten.end());
    frames.push_back("#7T;");
    EXPECT_EQ(Untagged(fleet.Board(0).Frames()), frames);
    const auto changes = [](const CtlResult &run) {
      return nlohmann::json::parse(run.out.substr(0, run.out.find('\n')))["changes"].size();
    };
    EXPECT_EQ(changes(planned), frames.size() - 2) << planned.out;
    EXPECT_EQ(changes(restored), frames.size() - 2) << restored.out;
    const sim::BoardConfig now = fleet.Board(0).Config();
    EXPECT_EQ(now.gateway, odd.gateway);
    EXPECT_EQ(now.buttonCfg, odd.buttonCfg);
  }
}

}  // namespace
}  // namespace relayctl::testing
