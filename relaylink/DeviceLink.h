// The connection to one board and the request/reply exchange over it.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/Socket.h"

namespace relay {

inline constexpr std::uint16_t DevicePort = 5111;
inline constexpr int ConnectTimeoutMs = 5000;
inline constexpr int ReplyTimeoutMs = 5000;
// A board that stops reading cannot hold a long request for longer than this.
inline constexpr int SendTimeoutMs = 5000;

class DeviceLink {
 public:
  DeviceLink() = default;
  DeviceLink(const DeviceLink &) = delete;
  DeviceLink &operator=(const DeviceLink &) = delete;
  ~DeviceLink() { Close(); }

  // Connects to `address` on DevicePort within ConnectTimeoutMs. An empty
  // address fails at once; a connection that is still open is reused.
  bool Open(const std::string &address);

  // Sends `request` (within SendTimeoutMs) and gathers the reply until the
  // piece that holds its first ';' (FrameEnd) has arrived, the board closes
  // the connection, kMaxReplyBytes have arrived or ReplyTimeoutMs have passed
  // since the send; what has arrived by then is the reply. Nothing at
  // all within the time, or a send or receive error, gives nullopt. An error
  // or the board closing the connection also closes our side.
  std::optional<std::string> Exchange(std::string_view request);

  void Close();
  bool IsOpen() const { return socket_ != net::kInvalidSocket; }

 private:
  net::SocketHandle socket_ = net::kInvalidSocket;
};

}  // namespace relay
