#include "DeviceCfgState.h"

#include <chrono>

#include "Protocol.h"

namespace relay {

RequestTagSource::RequestTagSource()
    : generator_(static_cast<std::minstd_rand::result_type>(
          std::chrono::high_resolution_clock::now().time_since_epoch().count())) {}

int RequestTagSource::Draw() { return std::uniform_int_distribution<int>(0, 9999)(generator_); }

void DeviceCfgState::SetStatus(Status status) {
  ErrorCode = static_cast<std::int32_t>(status);
  ErrorMsg = StatusMessage(status);
}

bool SetKeyMode(DeviceCfgState &state, short key, short mode) {
  if (!state.CfgReady || !state.ButtonCapable || key < 1 || key > 8 || mode < 1 || mode > 3) return false;
  const std::size_t index = static_cast<std::size_t>(key - 1);
  if (index >= state.NewButtonCfg.size()) return false;
  state.NewButtonCfg[index] = static_cast<char>('0' + mode);
  return true;
}

Task<std::optional<std::string>> QueryDeviceAsync(DeviceCfgState &state, std::string request) {
  auto reply = co_await state.DeviceSocket.ExchangeAsync(std::move(request));
  if (!reply) state.SetStatus(Status::ReadTimeout);
  co_return reply;
}

Task<bool> SendDeviceCmdAsync(DeviceCfgState &state, std::string request) {
  const auto reply = co_await state.DeviceSocket.ExchangeAsync(std::move(request));
  if (!reply) {
    state.SetStatus(Status::WriteTimeout);
    co_return false;
  }
  if (!IsAcknowledgement(*reply)) {
    state.SetStatus(Status::WriteRefused);
    co_return false;
  }
  co_return true;
}

}  // namespace relay
