// The connection to one board and the request/reply exchange over it, as
// steps (Task.h) that block or suspend as the link's driver decides
// (Waits.h), and as blocking calls for a link without a driver.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "Task.h"
#include "Waits.h"
#include "platform/Socket.h"

namespace relay {

inline constexpr std::uint16_t DevicePort = 5111;
inline constexpr int ConnectTimeoutMs = 5000;
inline constexpr int ReplyTimeoutMs = 5000;
// A board that stops reading cannot hold a long request for longer than this.
inline constexpr int SendTimeoutMs = 5000;

class DeviceLink {
 public:
  // Without a driver every step blocks.
  explicit DeviceLink(StepDriver *driver = nullptr) : driver_(driver) {}
  DeviceLink(const DeviceLink &) = delete;
  DeviceLink &operator=(const DeviceLink &) = delete;
  ~DeviceLink() { Close(); }

  // Connects to `address` on DevicePort within `timeoutMs`. An empty address
  // fails at once; a connection that is still open is reused.
  Task<bool> OpenAsync(std::string address, int timeoutMs = ConnectTimeoutMs);

  // Sends `request` (within SendTimeoutMs) and gathers the reply until the
  // piece that holds its first ';' (FrameEnd) has arrived, the board closes
  // the connection, kMaxReplyBytes have arrived or ReplyTimeoutMs have passed
  // since the send; what has arrived by then is the reply. Nothing at
  // all within the time, or a send or receive error, gives nullopt. An error
  // or the board closing the connection also closes our side.
  Task<std::optional<std::string>> ExchangeAsync(std::string request);

  // The same, blocking; for a link without a driver.
  bool Open(const std::string &address) { return RunBlocking(OpenAsync(address)); }
  std::optional<std::string> Exchange(std::string_view request) {
    return RunBlocking(ExchangeAsync(std::string(request)));
  }

  void Close();
  bool IsOpen() const { return socket_ != net::kInvalidSocket; }
  StepDriver *Driver() const { return driver_; }

 private:
  Task<bool> SendAllAsync(std::string_view data);
  WaitFor Ready(bool writable, StepClock::time_point deadline) const {
    return WaitFor(driver_, {socket_, writable, deadline});
  }

  StepDriver *driver_;
  net::SocketHandle socket_ = net::kInvalidSocket;
};

}  // namespace relay
