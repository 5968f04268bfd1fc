#include "SavePlan.h"

namespace relay {
namespace {

const char *FlagText(bool flag) { return flag ? "1" : "0"; }

std::string WireValue(const std::string &text) { return text; }
std::string WireValue(bool flag) { return FlagText(flag); }

void Adopt(std::string &field, const std::string &value) { field = value; }
void Adopt(bool &field, const std::string &value) { field = value == FlagText(true); }

// Whether a save to a board of these capabilities, with the switch as it
// stands once its own row has run, sends a setting that needs `needs`.
bool Takes(SettingNeeds needs, bool webCapable, bool buttonCapable, bool remoteOn) {
  return BoardHas(needs, webCapable, buttonCapable) && (needs != SettingNeeds::RemoteControlOn || remoteOn);
}

}  // namespace

std::vector<PlannedWrite> PlanWrites(const DeviceSideValues &device, const PendingValues &pending, bool webCapable,
                                     bool buttonCapable) {
  // The switch as it stands once its own row has run: the pending one.
  const bool remoteOn = webCapable && pending.NewEnableWeb;
  std::vector<PlannedWrite> writes;
#define RELAY_PLAN_ROW(name, Stem, command, kind, needs, ...)                                    \
  if (Takes(SettingNeeds::needs, webCapable, buttonCapable, remoteOn) &&                         \
      device.Dev##Stem != pending.New##Stem) {                                                   \
    writes.push_back({Command::Set##Stem, WireValue(pending.New##Stem)});                        \
  }
  RELAY_SETTINGS(RELAY_PLAN_ROW)
#undef RELAY_PLAN_ROW
  return writes;
}

void RecordWrite(DeviceSideValues &device, const PlannedWrite &write) {
#define RELAY_RECORD_ROW(name, Stem, ...) \
  if (write.command == Command::Set##Stem) Adopt(device.Dev##Stem, write.value);
  RELAY_SETTINGS(RELAY_RECORD_ROW)
#undef RELAY_RECORD_ROW
}

}  // namespace relay
