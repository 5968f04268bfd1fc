#include "ArpCache.h"
#include "DeviceCfgState.h"
#include "Protocol.h"

namespace relay {
namespace {

// Capabilities, pending values and version from a reply that passed the checks.
void AdoptReply(DeviceCfgState &state, const std::string &versionItem) {
  state.WebCapable = !state.DevDeviceId.empty();
  state.ButtonCapable = state.DevButtonCfg != ".";
  state.MiscCapable = true;

  state.NewIpAddr = state.DevIpAddr;
  state.NewSubMask = state.DevSubMask;
  state.NewGateway = state.DevGateway;
  // The version belongs to the board that reported it: a reply without the
  // item (5 or 9 items) leaves none, rather than an earlier board's.
  state.FirmwareVersion = versionItem.empty() ? std::string() : "1.0." + versionItem;
  if (state.WebCapable) {
    state.NewDns = state.DevDns;
    state.NewWebServer = state.DevWebServer;
    state.NewPassword = state.DevPassword;
    state.NewEnableWeb = state.DevEnableWeb;
  }
  if (state.ButtonCapable) state.NewButtonCfg = state.DevButtonCfg;
  state.NewRestoreState = state.DevRestoreState;
}

}  // namespace

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
  AdoptReply(state, versionItem);
  state.CfgReady = true;
  return true;
}

}  // namespace relay
