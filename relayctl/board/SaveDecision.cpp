#include "board/SaveDecision.h"

#include "DeviceCfgState.h"
#include "SavePlan.h"
#include "board/SettingTable.h"

namespace relayctl {
namespace {

// The library's device side after reading `board`: what its getters gave.
relay::DeviceSideValues DeviceSide(const BoardState &board) {
  const Settings &s = board.settings;
  relay::DeviceSideValues device;
  device.DevIpAddr = s.ip.value_or("");
  device.DevSubMask = s.mask.value_or("");
  device.DevGateway = s.gateway.value_or("");
  device.DevButtonCfg = s.keys.value_or(".");
  device.DevRestoreState = s.restore.value_or(false);
  device.DevEnableWeb = s.remote.value_or(false);
  device.DevDns = s.dns.value_or("");
  device.DevWebServer = s.server.value_or("");
  device.DevPassword = s.password.value_or("");
  return device;
}

// The library's pending values after the read copied the device side and
// SaveChanges called the setters: the setters of key modes change single
// keys, and only to 1..3.
relay::PendingValues Pending(const relay::DeviceSideValues &device, const Settings &changes) {
  relay::PendingValues pending;
  pending.NewIpAddr = changes.ip.value_or(device.DevIpAddr);
  pending.NewSubMask = changes.mask.value_or(device.DevSubMask);
  pending.NewGateway = changes.gateway.value_or(device.DevGateway);
  pending.NewButtonCfg = device.DevButtonCfg;
  if (changes.keys) {
    for (std::size_t key = 0; key < changes.keys->size() && key < pending.NewButtonCfg.size(); ++key) {
      const char mode = (*changes.keys)[key];
      if (mode >= '1' && mode <= '3') pending.NewButtonCfg[key] = mode;
    }
  }
  pending.NewRestoreState = changes.restore.value_or(device.DevRestoreState);
  pending.NewEnableWeb = changes.remote.value_or(device.DevEnableWeb);
  pending.NewDns = changes.dns.value_or(device.DevDns);
  pending.NewWebServer = changes.server.value_or(device.DevWebServer);
  pending.NewPassword = changes.password.value_or(device.DevPassword);
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
