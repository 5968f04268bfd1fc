// The JSON form of a board: the object `show --json` prints, the backup
// file that `backup` writes and `restore` and `apply` read, and the array
// that `scan --json` prints.
//
//   format          "relayctl-backup" (backup files only)
//   format_version  1 (backup files only)
//   address         where the board was read
//   model           "remote control", "keys" or "basic"
//   firmware        "1.0.x", or null when the board reports none
//   device_id       14 characters, or null without remote control
//   capabilities    { "remote_control": bool, "keys": bool }
//   settings        { "ip", "mask", "gateway": text; "restore": bool;
//                     "keys": eight digits 1..3 (1 keep, 2 follow, 3 jog);
//                     "remote": bool; "dns", "server", "password": text }
//
// Settings the board cannot have are null. When a backup is read, a setting
// that is null or missing is left as the board has it, and so is a key whose
// mode is outside 1..3 (as a board may report it). A board's texts are
// carried byte for byte by the rule of BoardText.h.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "board/BoardState.h"

namespace relayctl {

inline constexpr int kBackupFormatVersion = 1;

// The board as one JSON object, indented for reading and editing.
std::string ShowJson(const BoardState &board);
std::string BackupJson(const BoardState &board);
// The boards as an array of the objects of `show --json`, without
// settings.password, which a scan never gives out.
std::string ScanJson(const std::vector<BoardState> &boards);

struct Backup {
  std::string deviceId;  // empty when the file names none
  Capabilities capabilities;
  Settings settings;  // only what the file gives
  std::string note;   // keys left as the board has them, for the report; empty when none
};

// Reads a backup file's text. Nullopt with `error` set when it is no JSON (or
// holds a number beyond a double), not a backup, of a newer format, has a
// value of the wrong kind, a text that names no board bytes, an unknown
// setting, or gives a setting of a capability it records as absent.
std::optional<Backup> ParseBackup(std::string_view text, std::string &error);

}  // namespace relayctl
