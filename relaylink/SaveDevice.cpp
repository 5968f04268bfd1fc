#include <optional>

#include "DeviceCfgState.h"
#include "IntConversion.h"
#include "Protocol.h"
#include "TextItems.h"
#include "ValueRules.h"

namespace relay {
namespace {

// A server name goes into the frame unchanged, so it must not carry anything
// that ends the frame or splits the next configuration reply.
bool IsSendableServerName(const std::string &name) {
  if (name.empty()) return false;
  for (const char c : name) {
    const auto code = static_cast<unsigned char>(c);
    if (code < 32 || code == 127 || c == ',' || c == ';' || c == '"' || c == '\'') return false;
  }
  return true;
}

// IsValidIpAddr where an item that is not a number is a plain rejection.
bool IsValidAddressField(std::string &text) {
  try {
    return IsValidIpAddr(text);
  } catch (const ConversionError &) {
    return false;
  }
}

const char *FlagText(bool flag) { return flag ? "1" : "0"; }

// Sends the writes in their fixed order, each only when the value differs,
// and brings the device-side value up to date after each acknowledgement.
// The remote-control switch, DNS, server and password go only to a board that
// reported remote control: otherwise they are left-overs of an earlier board
// (a save refused there) that were never meant for this one.
class ChangeWriter {
 public:
  explicit ChangeWriter(DeviceCfgState &state) : state_(state) {}

  bool WriteAll() {
    DeviceCfgState &s = state_;
    return WriteText(Command::SetIpAddr, s.DevIpAddr, s.NewIpAddr) &&
           WriteText(Command::SetSubMask, s.DevSubMask, s.NewSubMask) &&
           WriteText(Command::SetGateway, s.DevGateway, s.NewGateway) &&
           (!s.ButtonCapable || WriteText(Command::SetButtonCfg, s.DevButtonCfg, s.NewButtonCfg)) &&
           WriteFlag(Command::SetRestoreState, s.DevRestoreState, s.NewRestoreState) &&
           (!s.WebCapable || WriteFlag(Command::SetEnableWeb, s.DevEnableWeb, s.NewEnableWeb)) &&
           (!(s.WebCapable && s.DevEnableWeb) || (WriteText(Command::SetDns, s.DevDns, s.NewDns) &&
                                WriteText(Command::SetWebServer, s.DevWebServer, s.NewWebServer) &&
                                WriteText(Command::SetPassword, s.DevPassword, s.NewPassword)));
  }

  bool WroteSomething() const { return wrote_; }

 private:
  bool WriteText(Command command, std::string &device, const std::string &pending) {
    if (device == pending) return true;
    if (!Send(command, pending)) return false;
    device = pending;
    return true;
  }

  bool WriteFlag(Command command, bool &device, bool pending) {
    if (device == pending) return true;
    if (!Send(command, FlagText(pending))) return false;
    device = pending;
    return true;
  }

  bool Send(Command command, std::string_view value) {
    if (!SendDeviceCmd(state_, BuildCommand(command, state_.RequestTag, value))) return false;
    wrote_ = true;
    return true;
  }

  DeviceCfgState &state_;
  bool wrote_ = false;
};

}  // namespace

std::optional<Status> RejectedPendingValue(PendingValues &pending, bool webCapable) {
  if (!IsValidAddressField(pending.NewIpAddr)) return Status::BadIpAddr;
  if (!IsValidAddressField(pending.NewSubMask)) return Status::BadSubMask;
  if (!IsValidAddressField(pending.NewGateway)) return Status::BadGateway;
  if (webCapable && pending.NewEnableWeb) {
    if (!IsValidAddressField(pending.NewDns)) return Status::BadDns;
    pending.NewWebServer = TrimControl(pending.NewWebServer);
    if (!IsSendableServerName(pending.NewWebServer)) return Status::BadWebServer;
    pending.NewPassword = TrimControl(pending.NewPassword);
    if (!IsValidPassword(pending.NewPassword)) return Status::BadPassword;
  }
  return std::nullopt;
}

bool SaveDevice(DeviceCfgState &state) {
  if (!state.CfgReady) {
    state.SetStatus(Status::NotReady);
    return false;
  }
  if (const auto rejected = RejectedPendingValue(state, state.WebCapable)) {
    state.SetStatus(*rejected);
    return false;
  }
  if (!state.DeviceSocket.Open(state.LinkAddress)) {
    state.CfgReady = false;
    state.SetStatus(Status::ConnectFailed);
    return false;
  }

  ChangeWriter writer(state);
  if (!writer.WriteAll()) {
    state.CfgReady = false;
    state.DeviceSocket.Close();
    return false;
  }
  if (!writer.WroteSomething()) {
    state.SetStatus(Status::Saved);
  } else if (SendDeviceCmd(state, BuildCommand(Command::Restart, state.RequestTag))) {
    state.CfgReady = false;
    state.SetStatus(Status::SavedAndRestarted);
  }
  state.DeviceSocket.Close();
  return true;
}

}  // namespace relay
