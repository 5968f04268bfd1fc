#include "ArpCache.h"
#include "DeviceCfgState.h"
#include "Protocol.h"
#include "ReplyAdoption.h"

namespace relay {

bool ReadDevice(DeviceCfgState &state, const char *address) {
  state.LinkAddress = address != nullptr ? address : "";
  // Whatever follows, the values read before belong to another address now:
  // only a read that succeeds makes the library ready again.
  state.CfgReady = false;
  FlushArpCache();
  if (!state.DeviceSocket.Open(state.LinkAddress)) {
    state.SetStatus(Status::ConnectFailed);
    return false;
  }
  state.RequestTag = state.Tags.Draw();

  const auto reply = QueryDevice(state, BuildCommand(Command::ReportConfig, state.RequestTag));
  std::string versionItem;
  const bool good = reply && ParseCfgReply(*reply, state, versionItem);
  state.DeviceSocket.Close();
  if (!good) {
    if (reply) state.SetStatus(Status::BadReply);
    return false;
  }
  AdoptReply(state, versionItem, state, state);
  state.CfgReady = true;
  return true;
}

}  // namespace relay
