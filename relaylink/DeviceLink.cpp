#include "DeviceLink.h"

#include <algorithm>
#include <chrono>

#include "Protocol.h"

namespace relay {

bool DeviceLink::Open(const std::string &address) {
  if (IsOpen()) return true;
  if (address.empty()) return false;  // "No address specified": no attempt
  socket_ = net::ConnectTcp(net::ParseIpv4(address.c_str()), DevicePort, ConnectTimeoutMs);
  return IsOpen();
}

std::optional<std::string> DeviceLink::Exchange(std::string_view request) {
  using Clock = std::chrono::steady_clock;
  if (!IsOpen() || !net::SendAll(socket_, request, SendTimeoutMs)) {
    Close();
    return std::nullopt;
  }
  const auto deadline = Clock::now() + std::chrono::milliseconds(ReplyTimeoutMs);
  std::string reply;
  char chunk[4096];
  while (FrameEnd(reply) == std::string::npos && reply.size() < kMaxReplyBytes) {
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now()).count();
    if (left <= 0 || net::WaitReadable(socket_, static_cast<int>(left)) != net::WaitResult::Ready) break;
    const auto received = net::ReceiveSome(socket_, chunk, std::min(sizeof chunk, kMaxReplyBytes - reply.size()));
    if (!received) {
      Close();
      return std::nullopt;
    }
    if (*received == 0) {  // the board closed the connection: its reply is complete
      Close();
      return reply;
    }
    reply.append(chunk, *received);
  }
  if (reply.empty()) return std::nullopt;  // timed out without a byte
  return reply;
}

void DeviceLink::Close() {
  net::CloseSocket(socket_);
  socket_ = net::kInvalidSocket;
}

}  // namespace relay
