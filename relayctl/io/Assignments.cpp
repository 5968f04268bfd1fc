#include "io/Assignments.h"

#include <algorithm>
#include <set>
#include <string_view>

#include "board/SettingTable.h"

namespace relayctl {
namespace {

std::optional<char> KeyModeDigit(const std::string &value) {
  if (value == "keep" || value == "1") return '1';
  if (value == "follow" || value == "2") return '2';
  if (value == "jog" || value == "3") return '3';
  return std::nullopt;
}

std::optional<bool> OnOff(const std::string &value) {
  if (value == "on") return true;
  if (value == "off") return false;
  return std::nullopt;
}

bool IsKeyDigits(const std::string &value) {
  return value.size() == 8 && std::all_of(value.begin(), value.end(), [](char c) { return c >= '1' && c <= '3'; });
}

bool IsSingleKeyName(const std::string &name) {
  return name.size() == 4 && name.rfind("key", 0) == 0 && name[3] >= '1' && name[3] <= '8';
}

// Stores one assignment; false when the name is unknown or the value malformed.
bool Assign(Settings &changes, const std::string &name, const std::string &value, TextEncoding encoding,
            std::string &why) {
  if (IsSingleKeyName(name)) {
    const std::optional<char> digit = KeyModeDigit(value);
    if (!digit) return false;
    if (!changes.keys) changes.keys = std::string(8, '-');
    (*changes.keys)[static_cast<std::size_t>(name[3] - '1')] = *digit;
    return true;
  }
  const SettingInfo *setting = FindSetting(name);
  if (!setting) return false;
  switch (setting->kind) {
    case SettingKind::Switch: {
      const std::optional<bool> flag = OnOff(value);
      changes.*setting->flag = flag;
      return flag.has_value();
    }
    case SettingKind::KeyModes:
      if (!IsKeyDigits(value)) return false;
      break;
    default:  // addresses, server and password are checked before saving
      break;
  }
  changes.*setting->text =
      BytesFromTyped(value, encoding, why, setting->kind == SettingKind::Password ? Secret::Yes : Secret::No);
  if (!(changes.*setting->text)) why += "; a board's texts are single bytes";
  return (changes.*setting->text).has_value();
}

}  // namespace

std::string AssignmentHelp() {
  return "names are " + SettingNames() +
         "; keys takes eight digits 1..3 (1 keep, 2 follow, 3 jog), key1..key8 take keep, follow, jog or 1..3, "
         "restore and remote take on or off";
}

std::optional<std::vector<AssignmentLine>> AssignmentLines(const std::string &fileText, std::string &error) {
  const std::string_view text = WithoutByteOrderMark(fileText);
  std::vector<AssignmentLine> assignments;
  std::size_t number = 0;
  for (std::size_t start = 0; start < text.size();) {
    const std::size_t end = std::min(text.find('\n', start), text.size());
    std::string line(text.substr(start, end - start));
    if (end < text.size() && line.ends_with('\r')) line.pop_back();
    start = end + 1;
    ++number;
    if (line.empty()) continue;
    if (line.find('\r') != std::string::npos) {
      error = "line " + std::to_string(number) + ": holds a CR; lines end with LF or CR LF";
      return std::nullopt;
    }
    if (line.find('=') == std::string::npos || line.front() == '=') {
      error = "line " + std::to_string(number) + ": expected NAME=VALUE";
      return std::nullopt;
    }
    assignments.push_back({number, std::move(line)});
  }
  return assignments;
}

std::optional<Settings> ParseAssignments(const std::vector<std::string> &assignments, TextEncoding encoding,
                                         std::string &error, std::size_t *refused) {
  Settings changes;
  std::set<std::string> seen;
  for (const std::string &assignment : assignments) {
    if (refused) *refused = static_cast<std::size_t>(&assignment - assignments.data());
    const std::size_t equals = assignment.find('=');
    if (equals == std::string::npos || equals == 0) {
      error = "expected NAME=VALUE, got '" + assignment + "'";
      return std::nullopt;
    }
    const std::string name = assignment.substr(0, equals);
    // keys=... and key1..key8 both change the key modes: only one form at a time.
    if (!seen.insert(name).second || (IsSingleKeyName(name) && seen.count("keys")) ||
        (name == "keys" && std::any_of(seen.begin(), seen.end(), IsSingleKeyName))) {
      error = "'" + name + "' repeats an earlier setting";
      return std::nullopt;
    }
    std::string why;
    if (!Assign(changes, name, assignment.substr(equals + 1), encoding, why)) {
      error = why.empty() ? "cannot set '" + name + "': " + AssignmentHelp()
                          : "cannot set " + name + ": the value " + why;
      return std::nullopt;
    }
  }
  if (assignments.empty()) {
    error = "nothing to set";
    return std::nullopt;
  }
  return changes;
}

}  // namespace relayctl
