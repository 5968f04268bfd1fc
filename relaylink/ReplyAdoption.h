// What a read makes of a configuration reply that ParseCfgReply accepted:
// what the board can be configured for, its firmware version and the pending
// values a save starts from. Pure: ReadDeviceCfg adopts its reply into the
// library's state with it, and relayctl's scan reads each board's reply the
// same way.
#pragma once

#include <string>

#include "DeviceValues.h"

namespace relay {

// What a good read finds out about the board besides its values.
struct ReplyFindings {
  bool WebCapable = false;     // remote control: the reply gave a device ID
  bool ButtonCapable = false;  // key modes: the key item is not "."
  bool MiscCapable = false;    // the restore option: every board
  std::string FirmwareVersion;  // "1.0." + the version item; empty without one
};

// Fills `found` from the parsed reply `dev` and its `versionItem`, and copies
// into `pending` the values of `dev` that the board has; the others keep what
// they held.
void AdoptReply(const DeviceSideValues &dev, const std::string &versionItem, ReplyFindings &found,
                PendingValues &pending);

}  // namespace relay
