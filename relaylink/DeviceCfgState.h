// The library's one state record: the link, the last status, the board's
// values on both sides and what the last good read found it can do
// (ReplyFindings).
#pragma once

#include <cstdint>
#include <optional>
#include <random>
#include <string>

#include "DeviceLink.h"
#include "DeviceValues.h"
#include "ReplyAdoption.h"
#include "Status.h"

namespace relay {

// Draws request tags 0..9999 from a generator seeded once from a
// high-resolution clock.
class RequestTagSource {
 public:
  RequestTagSource();
  int Draw();

 private:
  std::minstd_rand generator_;
};

struct DeviceCfgState : DeviceSideValues, PendingValues, ReplyFindings {
  // Without a driver the link's steps block.
  explicit DeviceCfgState(StepDriver *driver = nullptr) : DeviceSocket(driver) {}

  DeviceLink DeviceSocket;
  std::int32_t ErrorCode = 0;
  std::string ErrorMsg;
  std::string LinkAddress;
  std::int32_t RequestTag = 0;
  bool CfgReady = false;
  RequestTagSource Tags;

  void SetStatus(Status status);
};

// Sets the pending mode of `key` (1..8) to `mode` (1..3) on a board read with
// key modes (SetButtonCfg's work); false, changing nothing, otherwise.
bool SetKeyMode(DeviceCfgState &state, short key, short mode);

// Reads the board at `address` into `state` (the work of ReadDeviceCfg),
// first clearing the system's ARP cache when `flushArpCache`.
Task<bool> ReadDeviceAsync(DeviceCfgState &state, std::string address, bool flushArpCache = true);

// Writes the pending values of `state` to its board (the work of SaveDeviceCfg).
Task<bool> SaveDeviceAsync(DeviceCfgState &state);

// Checks (and normalises) the pending values in the order a save does: the
// status of the first one a save rejects (2001..2006), or nullopt when all
// pass. The remote-control values count only when `webCapable` and the
// pending switch are both set.
std::optional<Status> RejectedPendingValue(PendingValues &pending, bool webCapable);

// One exchange for the read command: the reply, or nullopt with 1001 set.
Task<std::optional<std::string>> QueryDeviceAsync(DeviceCfgState &state, std::string request);

// One exchange for a write command: true only on ">OK;"; else 1003 (no
// reply) or 1002 (any other reply) is set.
Task<bool> SendDeviceCmdAsync(DeviceCfgState &state, std::string request);

// The same steps, blocking, for a state whose link has no driver.
inline bool ReadDevice(DeviceCfgState &state, const char *address) {
  return RunBlocking(ReadDeviceAsync(state, address != nullptr ? address : ""));
}
inline bool SaveDevice(DeviceCfgState &state) { return RunBlocking(SaveDeviceAsync(state)); }
inline std::optional<std::string> QueryDevice(DeviceCfgState &state, std::string_view request) {
  return RunBlocking(QueryDeviceAsync(state, std::string(request)));
}
inline bool SendDeviceCmd(DeviceCfgState &state, std::string_view request) {
  return RunBlocking(SendDeviceCmdAsync(state, std::string(request)));
}

}  // namespace relay
