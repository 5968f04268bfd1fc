// The whole read path fed arbitrary replies: ReadDevice against an in-process
// stand-in board that answers the read command with the fuzz input (and then
// closes, so that a reply without an end does not wait out the time-out),
// followed by a save of the values as read and a save of edited values. The
// board acknowledges the restart without restarting, so that every iteration
// finds it listening.
#include <cstdint>
#include <string>

#include "DeviceCfgState.h"
#include "FuzzChecks.h"
#include "RelaySim.h"

namespace {

using relay::DeviceCfgState;
using relay::Status;
using relay::fuzz::Require;

relay::sim::RelaySim &Board() {
  static relay::sim::RelaySim board;
  static const bool started = !board.StartOnFreeLoopback().empty();
  Require(started, "stand-in board listening");
  return board;
}

bool IsModeDigits(const std::string &modes) {
  return modes.find_first_not_of("123") == std::string::npos;
}

bool Is(const DeviceCfgState &state, Status status) { return state.ErrorCode == static_cast<int>(status); }

bool IsRejectedValue(const DeviceCfgState &state) {
  return state.ErrorCode >= static_cast<int>(Status::BadIpAddr) &&
         state.ErrorCode <= static_cast<int>(Status::BadPassword);
}

// After a save the board acknowledged completely, the device side holds every
// pending value the save covers.
void RequireWrittenThrough(const DeviceCfgState &s) {
  Require(s.DevIpAddr == s.NewIpAddr && s.DevSubMask == s.NewSubMask && s.DevGateway == s.NewGateway,
          "network values written through");
  Require(s.DevRestoreState == s.NewRestoreState, "restore option written through");
  Require(!s.WebCapable || s.DevEnableWeb == s.NewEnableWeb, "remote-control switch written through");
  Require(!s.ButtonCapable || s.DevButtonCfg == s.NewButtonCfg, "key modes written through");
  if (s.WebCapable && s.DevEnableWeb) {
    Require(s.DevDns == s.NewDns && s.DevWebServer == s.NewWebServer && s.DevPassword == s.NewPassword,
            "remote-control values written through");
  }
}

void CheckSave(DeviceCfgState &state) {
  const bool saved = relay::SaveDevice(state);
  Require(!state.DeviceSocket.IsOpen(), "connection closed after a save");
  if (!saved) {
    Require(IsRejectedValue(state), "a save to a willing board fails only on a rejected value");
    Require(state.CfgReady, "a rejected value leaves the library ready");
    return;
  }
  Require(Is(state, Status::Saved) || Is(state, Status::SavedAndRestarted), "save reports 3001 or 3002");
  Require(state.CfgReady == Is(state, Status::Saved), "only a save without writes stays ready");
  RequireWrittenThrough(state);
}

void CheckRead(DeviceCfgState &state, const std::string &address) {
  const bool read = relay::ReadDevice(state, address.c_str());
  Require(!state.DeviceSocket.IsOpen(), "connection closed after a read");
  Require(state.CfgReady == read, "ready exactly after a good read");
  if (!read) {
    Require(Is(state, Status::BadReply), "a board that answers gives 1005 or success");
    return;
  }
  Require(state.MiscCapable, "misc capability after a good read");
  Require(state.WebCapable == !state.DevDeviceId.empty(), "remote control follows the device ID");
  Require(state.ButtonCapable == (state.DevButtonCfg != "."), "key modes follow their item");
  Require(state.NewIpAddr == state.DevIpAddr && state.NewSubMask == state.DevSubMask &&
              state.NewGateway == state.DevGateway && state.NewRestoreState == state.DevRestoreState,
          "pending values copied from the device side");
}

void Exercise(relay::sim::RelaySim &board, const std::uint8_t *data, std::size_t size) {
  relay::sim::SimOptions options;
  options.rawCfgReply = std::string(reinterpret_cast<const char *>(data), size);
  options.faults = {{relay::sim::FaultKind::CloseAfterReply, '1'},
                    {relay::sim::FaultKind::AckWithoutApplying, '7'}};
  board.SetOptions(options);
  board.ClearFrames();

  DeviceCfgState state;
  CheckRead(state, board.Address());
  if (!state.CfgReady) return;

  CheckSave(state);
  if (!state.CfgReady) return;

  state.NewGateway = state.DevGateway == "127.0.0.254" ? "127.0.0.253" : "127.0.0.254";
  state.NewRestoreState = !state.NewRestoreState;
  state.NewEnableWeb = !state.NewEnableWeb;
  // Key modes go back as the board reported them, so only a board that
  // reported mode digits gets a changed key.
  if (state.ButtonCapable && IsModeDigits(state.NewButtonCfg)) {
    state.NewButtonCfg[0] = state.NewButtonCfg[0] == '3' ? '1' : '3';
  }
  CheckSave(state);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
  relay::sim::RelaySim &board = Board();
  Exercise(board, data, size);
  // The board's threads end after the client's close; waiting for them keeps
  // their memory out of the leak check of this input.
  board.WaitUntilIdle();
  return 0;
}
