#include "ArpCache.h"
#include "DeviceCfgState.h"
#include "Protocol.h"
#include "ReplyAdoption.h"

namespace relay {

Task<bool> ReadDeviceAsync(DeviceCfgState &state, std::string address, bool flushArpCache) {
  state.LinkAddress = std::move(address);
  // Whatever follows, the values read before belong to another address now:
  // only a read that succeeds makes the library ready again.
  state.CfgReady = false;
  if (flushArpCache) FlushArpCache();
  const bool opened = co_await state.DeviceSocket.OpenAsync(state.LinkAddress);
  if (!opened) {
    state.SetStatus(Status::ConnectFailed);
    co_return false;
  }
  state.RequestTag = state.Tags.Draw();

  const auto reply = co_await QueryDeviceAsync(state, BuildCommand(Command::ReportConfig, state.RequestTag));
  std::string versionItem;
  const bool good = reply && ParseCfgReply(*reply, state, versionItem);
  state.DeviceSocket.Close();
  if (!good) {
    if (reply) state.SetStatus(Status::BadReply);
    co_return false;
  }
  AdoptReply(state, versionItem, state, state);
  state.CfgReady = true;
  co_return true;
}

}  // namespace relay
