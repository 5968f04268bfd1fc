// The board's settings as two sets: what the board holds ("Dev", as last read
// or written) and what the caller wants written by the next save ("New"), a
// member of each per setting of BoardSettings.h: a text, or a flag for a
// switch.
#pragma once

#include <string>

#include "BoardSettings.h"

namespace relay {

// DevButtonCfg holds eight mode digits, key 1 first, or "." for none.
#define RELAY_DEVICE_MEMBER(name, Stem, command, kind, ...) SettingValue<SettingKind::kind>::Type Dev##Stem{};
struct DeviceSideValues {
  RELAY_SETTINGS(RELAY_DEVICE_MEMBER)
  std::string DevDeviceId;  // 14 characters, or empty without remote control
};
#undef RELAY_DEVICE_MEMBER

#define RELAY_PENDING_MEMBER(name, Stem, command, kind, ...) SettingValue<SettingKind::kind>::Type New##Stem{};
struct PendingValues {
  RELAY_SETTINGS(RELAY_PENDING_MEMBER)
};
#undef RELAY_PENDING_MEMBER

}  // namespace relay
