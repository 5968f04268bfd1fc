// One board's protocol as an object: its state record (with the link), and
// its read and save as steps; what a save sends is PlanWrites (SavePlan.h)
// over the record. The exports hold one context whose steps
// block; relayctl's fleet engine holds one per board, each driven by the
// engine, so that one thread runs many boards.
#pragma once

#include <string>

#include "DeviceCfgState.h"

namespace relay {

class DeviceContext {
 public:
  // Without a driver every step blocks. A driver that reads many boards
  // clears the ARP cache once itself (`flushArpCache` false) rather than
  // before every board's read.
  explicit DeviceContext(StepDriver *driver = nullptr, bool flushArpCache = true)
      : state_(driver), flushArpCache_(flushArpCache) {}
  DeviceContext(const DeviceContext &) = delete;
  DeviceContext &operator=(const DeviceContext &) = delete;

  DeviceCfgState &State() { return state_; }
  const DeviceCfgState &State() const { return state_; }

  // ReadDeviceCfg's and SaveDeviceCfg's work: true on success, the status in
  // the state either way.
  Task<bool> Read(std::string address) { return ReadDeviceAsync(state_, std::move(address), flushArpCache_); }
  Task<bool> Save() { return SaveDeviceAsync(state_); }

 private:
  DeviceCfgState state_;
  bool flushArpCache_;
};

}  // namespace relay
