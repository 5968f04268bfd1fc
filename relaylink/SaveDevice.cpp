#include <optional>
#include <vector>

#include "DeviceCfgState.h"
#include "IntConversion.h"
#include "Protocol.h"
#include "SavePlan.h"
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

Task<bool> SaveDeviceAsync(DeviceCfgState &state) {
  if (!state.CfgReady) {
    state.SetStatus(Status::NotReady);
    co_return false;
  }
  if (const auto rejected = RejectedPendingValue(state, state.WebCapable)) {
    state.SetStatus(*rejected);
    co_return false;
  }
  const bool opened = co_await state.DeviceSocket.OpenAsync(state.LinkAddress);
  if (!opened) {
    state.CfgReady = false;
    state.SetStatus(Status::ConnectFailed);
    co_return false;
  }

  // Each acknowledged write brings its device-side value up to date, so that
  // a later save sends only what is still different.
  const std::vector<PlannedWrite> writes = PlanWrites(state, state, state.WebCapable, state.ButtonCapable);
  for (const PlannedWrite &write : writes) {
    const bool acknowledged =
        co_await SendDeviceCmdAsync(state, BuildCommand(write.command, state.RequestTag, write.value));
    if (!acknowledged) {
      state.CfgReady = false;
      state.DeviceSocket.Close();
      co_return false;
    }
    RecordWrite(state, write);
  }
  if (writes.empty()) {
    state.SetStatus(Status::Saved);
  } else {
    const bool restarted = co_await SendDeviceCmdAsync(state, BuildCommand(Command::Restart, state.RequestTag));
    if (restarted) {
      state.CfgReady = false;
      state.SetStatus(Status::SavedAndRestarted);
    }
  }
  state.DeviceSocket.Close();
  co_return true;
}

}  // namespace relay
