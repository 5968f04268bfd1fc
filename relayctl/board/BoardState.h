// What relayctl knows about one board: its identity, what it can be
// configured for, and its settings. Settings double as a set of changes, in
// which a missing value means "leave as it is".
#pragma once

#include <optional>
#include <string>

#include "BoardSettings.h"

namespace relayctl {

struct Capabilities {
  bool remoteControl = false;  // device ID, DNS, server, password, remote on/off
  bool keys = false;           // modes of the eight keys
};

// One member per setting, named as the setting: a text, or a flag for a
// switch. Key modes are eight characters, key 1 first: '1' keep, '2' follow,
// '3' jog, or, in a set of changes, '-' for a key left as it is.
#define RELAYCTL_SETTING_MEMBER(name, Stem, command, kind, ...) \
  std::optional<relay::SettingValue<relay::SettingKind::kind>::Type> name;
struct Settings {
  RELAY_SETTINGS(RELAYCTL_SETTING_MEMBER)
};
#undef RELAYCTL_SETTING_MEMBER

struct BoardState {
  std::string address;   // where it was read
  std::string firmware;  // "1.0.x", empty when the board reported none
  std::string deviceId;  // empty on boards without remote control
  Capabilities capabilities;
  Settings settings;  // every value the capabilities allow
};

// "remote control", "keys" or "basic".
std::string ModelName(const Capabilities &capabilities);

}  // namespace relayctl
