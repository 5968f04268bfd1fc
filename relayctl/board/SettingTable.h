// The settings of a board (BoardSettings.h) as relayctl uses them: their
// names, what a board needs to have them, their kind, where they live in
// Settings and the library's getter and setter. `set`, backup files, `show`,
// verification and the help text are all driven from this table.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "BoardSettings.h"
#include "Protocol.h"
#include "board/BoardState.h"
#include "relaylink.h"

namespace relayctl {

using relay::SettingKind;

struct SettingInfo {
  const char *name;
  SettingKind kind;
  relay::SettingNeeds needs;
  bool network;             // ip, mask and gateway: what `apply` leaves alone
  relay::Command command;   // the library's write command for it
  std::optional<std::string> Settings::*text;  // every kind but Switch
  std::optional<bool> Settings::*flag;         // Switch only
  // The library's getter and setter; key modes go key by key instead.
  short(RELAYLINK_CALL *getText)(char *buffer, unsigned short length);
  short(RELAYLINK_CALL *setText)(const char *text);
  short(RELAYLINK_CALL *getFlag)();
  short(RELAYLINK_CALL *setFlag)(short flag);
};

// In the order in which the library writes them.
const std::vector<SettingInfo> &SettingTable();

// The entry of that name, or null.
const SettingInfo *FindSetting(const std::string &name);

// Whether the setting is present in `settings`.
bool Has(const SettingInfo &setting, const Settings &settings);

// The value for messages and `show`: the text, "on" or "off", or "(none)".
std::string ValueText(const SettingInfo &setting, const Settings &settings);

// Whether two sets hold the same value (or both none) for the setting.
bool SameValue(const SettingInfo &setting, const Settings &a, const Settings &b);

// Whether a board with `capabilities` can have the setting.
bool BoardHas(const SettingInfo &setting, const Capabilities &capabilities);

// "ip, mask, gateway, keys, ..." for help texts and messages.
std::string SettingNames();

}  // namespace relayctl
