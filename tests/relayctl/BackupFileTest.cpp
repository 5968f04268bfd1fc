// The JSON backup: what is written reads back, and malformed files are refused.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "commands/BulkBackup.h"
#include "io/BackupFile.h"

namespace relayctl {
namespace {

BoardState RemoteBoard() {
  BoardState board;
  board.address = "10.0.0.9";
  board.firmware = "1.0.7";
  board.deviceId = "RB000000000042";
  board.capabilities = {true, true};
  board.settings = {"10.0.0.9", "255.255.255.0", "10.0.0.1", "12312312", true, false,
                    "10.0.0.53", "serv\xe9ur\x1b[2J.example", "012345"};
  return board;
}

TEST(BackupFile, WrittenBackupReadsBackWithEveryValue) {
  std::string error;
  const auto backup = ParseBackup(BackupJson(RemoteBoard()), error);
  ASSERT_TRUE(backup) << error;
  EXPECT_EQ(backup->deviceId, "RB000000000042");
  EXPECT_TRUE(backup->capabilities.remoteControl);
  EXPECT_TRUE(backup->capabilities.keys);
  const Settings &s = backup->settings;
  EXPECT_EQ(s.ip, "10.0.0.9");
  EXPECT_EQ(s.mask, "255.255.255.0");
  EXPECT_EQ(s.gateway, "10.0.0.1");
  EXPECT_EQ(s.keys, "12312312");
  EXPECT_EQ(s.restore, true);
  EXPECT_EQ(s.remote, false);
  EXPECT_EQ(s.dns, "10.0.0.53");
  EXPECT_EQ(s.server, "serv\xe9ur\x1b[2J.example");  // the board's bytes, through valid UTF-8 JSON
  EXPECT_EQ(s.password, "012345");
  EXPECT_EQ(nlohmann::json::parse(BackupJson(RemoteBoard()))["settings"]["server"], "serv\u00e9ur\u001b[2J.example");
  EXPECT_EQ(backup->note, "");
}

TEST(BackupFile, KeysABoardReportsOutside1To3AreKeptAsTheBoardHasThem) {
  BoardState board = RemoteBoard();
  board.settings.keys = "12312310";
  std::string error;
  const auto backup = ParseBackup(BackupJson(board), error);
  ASSERT_TRUE(backup) << error;
  EXPECT_EQ(backup->settings.keys, "1231231-");
  EXPECT_EQ(backup->note, "key8 not 1..3 in the backup: kept as the board has it");
}

TEST(BackupFile, NamedAfterADeviceIdOnlyOfFourteenPlainCharacters) {
  EXPECT_EQ(BackupFileStem("RB-00000000_42", "10.0.0.9"), "RB-00000000_42");
  for (const char *id : {"", "RB00000000042", "RB0000000000042", "RB00000000/042", "RB0000000000\xe9"}) {
    EXPECT_EQ(BackupFileStem(id, "10.0.0.9"), "10.0.0.9") << id;
  }
}

TEST(BackupFile, FieldNamesAreFixedAndAbsentValuesNull) {
  BoardState basic;
  basic.address = "10.0.0.3";
  basic.settings.ip = "10.0.0.3";
  basic.settings.mask = "255.0.0.0";
  basic.settings.gateway = "10.0.0.1";
  basic.settings.restore = false;
  const nlohmann::json shown = nlohmann::json::parse(ShowJson(basic));
  EXPECT_FALSE(shown.contains("format"));
  EXPECT_EQ(shown["model"], "basic");
  EXPECT_TRUE(shown["firmware"].is_null());
  EXPECT_TRUE(shown["device_id"].is_null());
  EXPECT_EQ(shown["capabilities"], nlohmann::json({{"remote_control", false}, {"keys", false}}));
  for (const char *name : {"keys", "remote", "dns", "server", "password"}) EXPECT_TRUE(shown["settings"][name].is_null());

  const nlohmann::json backup = nlohmann::json::parse(BackupJson(basic));
  EXPECT_EQ(backup["format"], "relayctl-backup");
  EXPECT_EQ(backup["format_version"], 1);
  std::string error;
  const auto read = ParseBackup(backup.dump(), error);
  ASSERT_TRUE(read) << error;
  EXPECT_FALSE(read->settings.keys || read->settings.remote || read->settings.dns);
}

TEST(BackupFile, Refusals) {
  const std::string head = R"("format": "relayctl-backup", "format_version": 1, )";
  const std::string caps = R"("capabilities": {"remote_control": false, "keys": true}, )";
  struct Case {
    std::string text;
    const char *named;  // in the message
  };
  const Case cases[] = {
      {"", "line 1, column 1"},
      {"{\n  \"format\": x", "line 2, column 13"},
      {"[1, 2]", "JSON object"},
      {"{\"format\": \"something-else\", \"format_version\": 1}", "format"},
      {"{\"format\": 5}", "format"},
      {"{\"format\": \"relayctl-backup\"}", "format_version"},
      {"{\"format\": \"relayctl-backup\", \"format_version\": \"1\"}", "format_version"},
      {"{\"format\": \"relayctl-backup\", \"format_version\": -1}", "format_version"},
      {"{\"format\": \"relayctl-backup\", \"format_version\": 2, \"capabilities\": {}, \"settings\": {}}", "newer"},
      {R"({"format": "relayctl-backup", "format_version": 4294967297, )" + caps + R"("settings": {}})", "newer"},
  };
  for (const Case &c : cases) {
    std::string error;
    EXPECT_FALSE(ParseBackup(c.text, error)) << c.text;
    EXPECT_NE(error.find(c.named), std::string::npos) << c.text << " -> " << error;
  }
  const Case bodies[] = {
      {R"("settings": {}})", "capabilities"},                                         // no capabilities
      {caps + R"("settings": [1]})", "settings"},                                     // wrong kind
      {R"("device_id": 7, )" + caps + R"("settings": {}})", "device_id"},             // wrong kind
      {caps + R"("settings": {"restore": "yes"}})", "settings.restore"},              // wrong kind
      {caps + R"("settings": {"ip": 10}})", "settings.ip"},                           // wrong kind
      {caps + R"("settings": {"gatway": "10.0.0.1"}})", "gatway"},                    // unknown setting
      {caps + R"("settings": {"keys": "1234"}})", "settings.keys"},                   // four key modes
      {caps + R"("settings": {"keys": "1231"}})", "settings.keys"},                   // short key modes
      {caps + R"("settings": {"dns": "10.0.0.53"}})", "settings.dns"},                // capability recorded absent
      {R"("capabilities": {"keys": true}, "settings": {}})", "remote_control"},       // incomplete capabilities
      {R"("capabilities": {"remote_control": true, "keys": true}, "settings": {"server": "good.example\u0000.evil"}})",
       "settings.server holds a NUL character"},
      {R"("capabilities": {"remote_control": true, "keys": true}, "settings": {"password": "654321\u0000999"}})",
       "settings.password holds a NUL character"},
      {R"("device_id": "RB\u20ac", )" + caps + R"("settings": {}})", "device_id has the character U+20AC"},
      {caps + R"("settings": {"restore": 1e400}})", "unreadable JSON"},  // beyond a double
  };
  for (const Case &c : bodies) {
    std::string error;
    EXPECT_FALSE(ParseBackup("{" + head + c.text, error)) << c.text;
    EXPECT_NE(error.find(c.named), std::string::npos) << c.text << " -> " << error;
  }
}

}  // namespace
}  // namespace relayctl
