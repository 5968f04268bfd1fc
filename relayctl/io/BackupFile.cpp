#include "io/BackupFile.h"

#include <algorithm>
#include <nlohmann/json.hpp>

#include "board/BoardText.h"
#include "board/ChangeFilters.h"
#include "board/SettingTable.h"

namespace relayctl {
namespace {

using Json = nlohmann::ordered_json;

constexpr char kFormatName[] = "relayctl-backup";

// A setting's value as JSON: a text, true or false, or null when absent.
Json SettingJson(const SettingInfo &setting, const Settings &settings) {
  if (setting.flag) {
    const std::optional<bool> &flag = settings.*setting.flag;
    return flag ? Json(*flag) : Json(nullptr);
  }
  const std::optional<std::string> &text = settings.*setting.text;
  return text ? Json(JsonFromBytes(*text)) : Json(nullptr);
}

Json TextOrNull(const std::string &text) { return text.empty() ? Json(nullptr) : Json(JsonFromBytes(text)); }

// The board's bytes of the JSON text `entry`, named `name` in the error.
std::optional<std::string> BytesOf(const Json &entry, const std::string &name, std::string &error) {
  std::string why;
  std::optional<std::string> bytes = BytesFromJson(entry.get_ref<const std::string &>(), why);
  if (!bytes) error = name + " " + why + "; a board's texts are single bytes";
  return bytes;
}

Json BoardObject(const BoardState &board, bool asBackup) {
  Json object = Json::object();
  if (asBackup) {
    object["format"] = kFormatName;
    object["format_version"] = kBackupFormatVersion;
  }
  object["address"] = board.address;
  object["model"] = ModelName(board.capabilities);
  object["firmware"] = TextOrNull(board.firmware);
  object["device_id"] = TextOrNull(board.deviceId);
  object["capabilities"] = {{"remote_control", board.capabilities.remoteControl},
                            {"keys", board.capabilities.keys}};
  Json &settings = object["settings"] = Json::object();
  for (const SettingInfo &setting : SettingTable()) settings[setting.name] = SettingJson(setting, board.settings);
  return object;
}

// Reads settings[setting.name] into `settings` when it is present and not null.
bool ReadSetting(const Json &object, const SettingInfo &setting, Settings &settings, std::string &error) {
  const auto entry = object.find(setting.name);
  if (entry == object.end() || entry->is_null()) return true;
  const bool flag = setting.flag != nullptr;
  if (flag ? !entry->is_boolean() : !entry->is_string()) {
    error = std::string("settings.") + setting.name + " must be " + (flag ? "true or false" : "a text");
    return false;
  }
  if (flag) {
    settings.*setting.flag = entry->get<bool>();
    return true;
  }
  settings.*setting.text = BytesOf(*entry, std::string("settings.") + setting.name, error);
  return (settings.*setting.text).has_value();
}

// Eight key modes, key 1 first; a mode outside 1..3 (as a board may report
// it) becomes '-', left as the board has it, and is named in `note`.
bool ReadKeyModes(std::string &keys, std::string &note, std::string &error) {
  if (keys.size() != 8) {
    error = "settings.keys must be eight digits, key 1 first (1 keep, 2 follow, 3 jog)";
    return false;
  }
  for (std::size_t key = 0; key < keys.size(); ++key) {
    if (keys[key] >= '1' && keys[key] <= '3') continue;
    note += (note.empty() ? "" : ", ") + std::string("key") + std::to_string(key + 1);
    keys[key] = '-';
  }
  if (!note.empty()) note += " not 1..3 in the backup: kept as the board has it";
  return true;
}

bool ReadCapability(const Json &capabilities, const char *name, bool &target, std::string &error) {
  const auto entry = capabilities.find(name);
  if (entry == capabilities.end() || !entry->is_boolean()) {
    error = std::string("capabilities.") + name + " must be true or false";
    return false;
  }
  target = entry->get<bool>();
  return true;
}

// "line L, column C" of the character at the 1-based `byte` that nlohmann-json
// reports (one past the end when the text ends too soon).
std::string SyntaxErrorPlace(std::string_view text, std::size_t byte) {
  const std::string_view before = text.substr(0, std::min(byte, text.size() + 1) - 1);
  const std::size_t lineStart = before.rfind('\n') + 1;  // 0 on the first line
  return "line " + std::to_string(std::count(before.begin(), before.end(), '\n') + 1) + ", column " +
         std::to_string(before.size() - lineStart + 1);
}

}  // namespace

std::string ShowJson(const BoardState &board) { return BoardObject(board, false).dump(2) + "\n"; }

std::string BackupJson(const BoardState &board) { return BoardObject(board, true).dump(2) + "\n"; }

std::string ScanJson(const std::vector<BoardState> &boards) {
  Json list = Json::array();
  for (const BoardState &board : boards) {
    Json object = BoardObject(board, false);
    object["settings"].erase("password");
    list.push_back(std::move(object));
  }
  return list.dump(2) + "\n";
}

std::optional<Backup> ParseBackup(std::string_view text, std::string &error) {
  Json root;
  try {
    root = Json::parse(text);
  } catch (const Json::parse_error &failure) {
    error = "JSON syntax error at " + SyntaxErrorPlace(text, failure.byte);
    return std::nullopt;
  } catch (const Json::exception &failure) {  // a number beyond what a double holds, and the like
    error = std::string("unreadable JSON: ") + failure.what();
    return std::nullopt;
  }
  if (!root.is_object()) {
    error = "not a JSON object";
    return std::nullopt;
  }
  const auto format = root.find("format");
  if (format == root.end() || *format != kFormatName) {
    error = std::string("not a relayctl backup (\"format\": \"") + kFormatName + "\" missing)";
    return std::nullopt;
  }
  const auto version = root.find("format_version");
  if (version == root.end() || !version->is_number_unsigned() || *version == 0) {
    error = "format_version must be a whole number from 1";
    return std::nullopt;
  }
  if (*version > kBackupFormatVersion) {
    error = "backup format " + version->dump() + " is newer than this relayctl reads (" +
            std::to_string(kBackupFormatVersion) + ")";
    return std::nullopt;
  }
  Backup backup;
  if (const auto deviceId = root.find("device_id"); deviceId != root.end() && !deviceId->is_null()) {
    if (!deviceId->is_string()) {
      error = "device_id must be a text or null";
      return std::nullopt;
    }
    const std::optional<std::string> bytes = BytesOf(*deviceId, "device_id", error);
    if (!bytes) return std::nullopt;
    backup.deviceId = *bytes;
  }
  const auto capabilities = root.find("capabilities");
  const auto settings = root.find("settings");
  for (const auto &[name, entry] : {std::pair{"capabilities", capabilities}, std::pair{"settings", settings}}) {
    if (entry == root.end() || !entry->is_object()) {
      error = std::string(name) + " must be an object";
      return std::nullopt;
    }
  }
  if (!ReadCapability(*capabilities, "remote_control", backup.capabilities.remoteControl, error) ||
      !ReadCapability(*capabilities, "keys", backup.capabilities.keys, error)) {
    return std::nullopt;
  }
  for (const auto &item : settings->items()) {
    if (!FindSetting(item.key())) {
      error = "unknown setting \"" + item.key() + "\"";
      return std::nullopt;
    }
  }
  Settings &s = backup.settings;
  for (const SettingInfo &setting : SettingTable()) {
    if (!ReadSetting(*settings, setting, s, error)) return std::nullopt;
  }
  if (s.keys && !ReadKeyModes(*s.keys, backup.note, error)) return std::nullopt;
  const std::vector<std::string> unrecorded = UnsupportedNames(s, backup.capabilities);
  if (!unrecorded.empty()) {
    error = "settings." + unrecorded.front() + " is given but the capabilities record the board without it";
    return std::nullopt;
  }
  return backup;
}

}  // namespace relayctl
