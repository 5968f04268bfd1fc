// The nine settings of a board, described once, in the order in which a save
// writes them. Every per-setting table of the library, relayctl, the stand-in
// board and the window expands RELAY_SETTINGS; scripts/settings-tables writes
// the Python, Ansible, completion and documentation copies from this file and
// the test settings_tables fails when one of them is not current.
//
// X(name, Stem, command, kind, needs, item, length, code, message, doc):
//   name     relayctl's and Ansible's name; also relayctl's Settings member
//   Stem     the library's names: DevStem and NewStem (DeviceValues.h), the
//            exports GetStem and SetStem, the write command Command::SetStem
//   command  the write command's code character
//   kind     Address (dotted quad), KeyModes (eight digits 1..3, key 1
//            first), Switch (on or off), Text, Password (six digits)
//   needs    what a board must have for it: Nothing, Keys (key modes),
//            RemoteControl, RemoteControlOn (remote control, switched on
//            once the save's switch row has run)
//   item     the item of the configuration reply that carries it (the
//            password: the last six characters of item 6, after the ID)
//   length   the most characters a board keeps, 0 for no limit of its own
//   code, message  the save's rejection of a bad pending value, 0 and ""
//            for a setting the save takes as it is
//   doc      what it is, for the option documentation
//
// Each entry is one line, in this exact form: the script reads it.
#pragma once

#include <string>

// clang-format off
#define RELAY_SETTINGS(X) \
  X(ip, IpAddr, '2', Address, Nothing, 0, 0, 2001, "Wrong IP address.", "The board's IPv4 address after its restart.") \
  X(mask, SubMask, '3', Address, Nothing, 1, 0, 2002, "Subnet mask is wrong.", "The subnet mask.") \
  X(gateway, Gateway, '4', Address, Nothing, 2, 0, 2003, "Gateway is wrong.", "The gateway; C(0.0.0.0) for none.") \
  X(keys, ButtonCfg, '5', KeyModes, Keys, 3, 8, 0, "", "The modes of the eight keys as eight digits, key 1 first; C(1) keep, C(2) follow, C(3) jog.") \
  X(restore, RestoreState, '6', Switch, Nothing, 4, 0, 0, "", "Whether the board restores its relay state after power off.") \
  X(remote, EnableWeb, 'A', Switch, RemoteControl, 9, 0, 0, "", "Whether the remote-control link is on.") \
  X(dns, Dns, '8', Address, RemoteControlOn, 7, 0, 2004, "DNS is wrong.", "The DNS server of the remote-control link.") \
  X(server, WebServer, '9', Text, RemoteControlOn, 8, 39, 2005, "Please enter the server for remote control.", "The server of the remote-control link.") \
  X(password, Password, 'B', Password, RemoteControlOn, 6, 6, 2006, "Password should be 6 digits.", "The remote-control password (6 digits).")
// clang-format on

namespace relay {

enum class SettingKind { Address, KeyModes, Switch, Text, Password };
enum class SettingNeeds { Nothing, Keys, RemoteControl, RemoteControlOn };

// The type that holds a value of each kind: a text, or a flag for a switch.
template <SettingKind kind>
struct SettingValue {
  using Type = std::string;
};
template <>
struct SettingValue<SettingKind::Switch> {
  using Type = bool;
};

// A setting's facts that are values rather than names.
struct SettingFacts {
  const char *name;
  char command;
  SettingKind kind;
  SettingNeeds needs;
  int item;
  unsigned length;
  int code;
  const char *message;
};

#define RELAY_SETTING_FACTS(name, Stem, command, kind, needs, item, length, code, message, doc) \
  SettingFacts{#name, command, SettingKind::kind, SettingNeeds::needs, item, length, code, message},
inline constexpr SettingFacts kSettings[] = {RELAY_SETTINGS(RELAY_SETTING_FACTS)};
#undef RELAY_SETTING_FACTS

// Whether a board with remote control (`webCapable`) and key modes
// (`buttonCapable`) as given has a setting that needs `needs`.
constexpr bool BoardHas(SettingNeeds needs, bool webCapable, bool buttonCapable) {
  switch (needs) {
    case SettingNeeds::Nothing: return true;
    case SettingNeeds::Keys: return buttonCapable;
    case SettingNeeds::RemoteControl:
    case SettingNeeds::RemoteControlOn: return webCapable;
  }
  return false;
}

// The facts of the setting with that name; the name must be one of them.
constexpr const SettingFacts &Setting(const char *name) {
  for (const SettingFacts &setting : kSettings) {
    const char *a = setting.name;
    const char *b = name;
    while (*a != '\0' && *a == *b) ++a, ++b;
    if (*a == *b) return setting;
  }
  throw "no such setting";  // a compile-time error where it is used in a constant
}

}  // namespace relay
