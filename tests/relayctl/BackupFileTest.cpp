// The JSON backup: what is written reads back, and malformed files are refused.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "BackupFile.h"

namespace relayctl {
namespace {

BoardState RemoteBoard() {
  BoardState board;
  board.address = "10.0.0.9";
  board.firmware = "1.0.7";
  board.deviceId = "RB000000000042";
  board.capabilities = {true, true};
  board.settings = {"10.0.0.9", "255.255.255.0", "10.0.0.1", "12312312", true, false,
                    "10.0.0.53", "relay.example", "012345"};
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
  EXPECT_EQ(s.server, "relay.example");
  EXPECT_EQ(s.password, "012345");
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
  const char *const cases[] = {
      "",
      "[1, 2]",
      "{\"format\": \"something-else\", \"format_version\": 1}",
      "{\"format\": \"relayctl-backup\"}",
      "{\"format\": \"relayctl-backup\", \"format_version\": 2, \"capabilities\": {}, \"settings\": {}}",
  };
  for (const char *text : cases) {
    std::string error;
    EXPECT_FALSE(ParseBackup(text, error)) << text;
    EXPECT_FALSE(error.empty());
  }
  const std::string bodies[] = {
      R"("settings": {}})",                                               // no capabilities
      caps + R"("settings": {"restore": "yes"}})",                        // wrong kind
      caps + R"("settings": {"ip": 10}})",                                // wrong kind
      caps + R"("settings": {"gatway": "10.0.0.1"}})",                    // unknown setting
      caps + R"("settings": {"keys": "1234"}})",                          // short key modes
      caps + R"("settings": {"dns": "10.0.0.53"}})",                      // capability recorded absent
      R"("capabilities": {"keys": true}, "settings": {}})",               // incomplete capabilities
  };
  for (const std::string &body : bodies) {
    std::string error;
    EXPECT_FALSE(ParseBackup("{" + head + body, error)) << body;
    EXPECT_FALSE(error.empty());
  }
}

}  // namespace
}  // namespace relayctl
