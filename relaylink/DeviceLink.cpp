#include "DeviceLink.h"

#include <algorithm>

#include "Protocol.h"

namespace relay {

Task<bool> DeviceLink::OpenAsync(std::string address, int timeoutMs) {
  if (IsOpen()) co_return true;
  if (address.empty()) co_return false;  // "No address specified": no attempt
  bool connected = false;
  const std::uint32_t number = net::ParseIpv4(address.c_str());
  socket_ = net::StartConnect(number, DevicePort, connected);
  if (!IsOpen()) co_return false;
  if (!connected) {
    const net::ConnectProgress progress = net::ConnectNow(socket_, number, DevicePort);
    connected = progress == net::ConnectProgress::Open;
    if (progress == net::ConnectProgress::Failed) {
      Close();
      co_return false;
    }
  }
  if (!connected) {
    const bool settled = co_await Ready(true, StepClock::now() + std::chrono::milliseconds(timeoutMs));
    connected = settled && net::ConnectSucceeded(socket_);
  }
  if (!connected) {
    Close();
    co_return false;
  }
  net::SetNoDelay(socket_);
  co_return true;
}

Task<bool> DeviceLink::SendAllAsync(std::string_view data) {
  const auto deadline = StepClock::now() + std::chrono::milliseconds(SendTimeoutMs);
  while (!data.empty()) {
    const net::Transfer sent = net::SendNow(socket_, data);
    if (sent.failed) co_return false;
    if (sent.wouldBlock) {
      const bool room = co_await Ready(true, deadline);
      if (!room) co_return false;
    }
    data.remove_prefix(sent.bytes);
  }
  co_return true;
}

Task<std::optional<std::string>> DeviceLink::ExchangeAsync(std::string request) {
  const bool sent = IsOpen() && co_await SendAllAsync(request);
  if (!sent) {
    Close();
    co_return std::nullopt;
  }
  const auto deadline = StepClock::now() + std::chrono::milliseconds(ReplyTimeoutMs);
  std::string reply;
  char chunk[4096];
  while (FrameEnd(reply) == std::string::npos && reply.size() < kMaxReplyBytes) {
    const bool readable = co_await Ready(false, deadline);
    if (!readable) break;
    const net::Transfer received =
        net::ReceiveNow(socket_, chunk, std::min(sizeof chunk, kMaxReplyBytes - reply.size()));
    if (received.wouldBlock) continue;  // readable, yet nothing after all
    if (received.failed) {
      Close();
      co_return std::nullopt;
    }
    if (received.bytes == 0) {  // the board closed the connection: its reply is complete
      Close();
      co_return reply;
    }
    reply.append(chunk, received.bytes);
  }
  if (reply.empty()) co_return std::nullopt;  // timed out without a byte
  co_return reply;
}

void DeviceLink::Close() {
  net::CloseSocket(socket_);
  socket_ = net::kInvalidSocket;
}

}  // namespace relay
