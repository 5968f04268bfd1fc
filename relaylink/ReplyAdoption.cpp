#include "ReplyAdoption.h"

namespace relay {

void AdoptReply(const DeviceSideValues &dev, const std::string &versionItem, ReplyFindings &found,
                PendingValues &pending) {
  found.WebCapable = !dev.DevDeviceId.empty();
  found.ButtonCapable = dev.DevButtonCfg != ".";
  found.MiscCapable = true;
  // The version belongs to the board that reported it: a reply without the
  // item (5 or 9 items) leaves none, rather than an earlier board's.
  found.FirmwareVersion = versionItem.empty() ? std::string() : "1.0." + versionItem;

  // Each value the board has; the others keep what they held.
#define RELAY_ADOPT(name, Stem, command, kind, needs, ...) \
  if (BoardHas(SettingNeeds::needs, found.WebCapable, found.ButtonCapable)) pending.New##Stem = dev.Dev##Stem;
  RELAY_SETTINGS(RELAY_ADOPT)
#undef RELAY_ADOPT
}

}  // namespace relay
