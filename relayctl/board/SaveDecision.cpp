#include "board/SaveDecision.h"

#include "DeviceCfgState.h"
#include "SavePlan.h"
#include "board/SettingTable.h"

namespace relayctl {
namespace {

using relay::SettingKind;

// The library's device-side value of a setting the board did not give: "."
// for key modes, as a board without them reports; else empty or off.
template <SettingKind kind>
typename relay::SettingValue<kind>::Type Absent() {
  if constexpr (kind == SettingKind::KeyModes) {
    return ".";
  } else {
    return {};
  }
}

// The library's device side after reading `board`: what its getters gave.
relay::DeviceSideValues DeviceSide(const BoardState &board) {
  relay::DeviceSideValues device;
#define RELAYCTL_DEVICE_SIDE(name, Stem, command, kind, ...) \
  device.Dev##Stem = board.settings.name.value_or(Absent<SettingKind::kind>());
  RELAY_SETTINGS(RELAYCTL_DEVICE_SIDE)
#undef RELAYCTL_DEVICE_SIDE
  return device;
}

// A pending value after the read copied the device side and SaveChanges
// called the setter: the setter of key modes changes single keys, and only
// to 1..3.
template <SettingKind kind, typename Value>
Value Pended(const Value &device, const std::optional<Value> &change) {
  if constexpr (kind == SettingKind::KeyModes) {
    Value modes = device;
    if (change) {
      for (std::size_t key = 0; key < change->size() && key < modes.size(); ++key) {
        const char mode = (*change)[key];
        if (mode >= '1' && mode <= '3') modes[key] = mode;
      }
    }
    return modes;
  } else {
    return change.value_or(device);
  }
}

relay::PendingValues Pending(const relay::DeviceSideValues &device, const Settings &changes) {
  relay::PendingValues pending;
#define RELAYCTL_PENDING(name, Stem, command, kind, ...) \
  pending.New##Stem = Pended<SettingKind::kind>(device.Dev##Stem, changes.name);
  RELAY_SETTINGS(RELAYCTL_PENDING)
#undef RELAYCTL_PENDING
  return pending;
}

}  // namespace

SaveDecision DecideSave(const BoardState &before, const Settings &changes) {
  const relay::DeviceSideValues device = DeviceSide(before);
  relay::PendingValues pending = Pending(device, changes);
  SaveDecision decision;
  decision.rejected = relay::RejectedPendingValue(pending, before.capabilities.remoteControl);
  if (decision.rejected) return decision;
  for (const relay::PlannedWrite &write :
       relay::PlanWrites(device, pending, before.capabilities.remoteControl, before.capabilities.keys)) {
    for (const SettingInfo &setting : SettingTable()) {
      if (setting.command != write.command) continue;
      if (setting.flag) {
        decision.written.*setting.flag = write.value == "1";
      } else {
        decision.written.*setting.text = write.value;
      }
    }
  }
  return decision;
}

}  // namespace relayctl
