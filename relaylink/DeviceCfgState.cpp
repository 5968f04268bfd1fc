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

std::optional<std::string> QueryDevice(DeviceCfgState &state, std::string_view request) {
  auto reply = state.DeviceSocket.Exchange(request);
  if (!reply) state.SetStatus(Status::ReadTimeout);
  return reply;
}

bool SendDeviceCmd(DeviceCfgState &state, std::string_view request) {
  const auto reply = state.DeviceSocket.Exchange(request);
  if (!reply) {
    state.SetStatus(Status::WriteTimeout);
    return false;
  }
  if (!IsAcknowledgement(*reply)) {
    state.SetStatus(Status::WriteRefused);
    return false;
  }
  return true;
}

}  // namespace relay
