// The event loop's wait on Windows: the watched sockets in a map, waited on
// together with ReadyAmong's select in slices of kWakeSliceMs, after each of
// which a wake ends the wait.
#define WIN32_LEAN_AND_MEAN
#include <winsock2.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <map>

#include "Socket.h"

namespace relay::net {

struct Poller::Watches {
  struct Watch {
    bool writable;
    std::uint64_t token;
  };
  std::map<SocketHandle, Watch> sockets;
  std::atomic<bool> woken{false};
};

Poller::Poller() : watches_(std::make_unique<Watches>()) {}

Poller::~Poller() = default;

bool Poller::Watch(SocketHandle socket, bool writable, std::uint64_t token) {
  auto &sockets = watches_->sockets;
  if (!sockets.contains(socket) && sockets.size() >= kMaxWaitedSockets) return false;
  sockets[socket] = {writable, token};
  return true;
}

void Poller::Forget(SocketHandle socket) { watches_->sockets.erase(socket); }

void Poller::Wake() { watches_->woken = true; }

std::vector<std::uint64_t> Poller::Wait(int timeoutMs) {
  std::vector<WaitedSocket> waited;
  std::vector<SocketHandle> order;
  for (const auto &[socket, watch] : watches_->sockets) {
    waited.push_back({socket, watch.writable});
    order.push_back(socket);
  }
  using Clock = std::chrono::steady_clock;
  const auto end = Clock::now() + std::chrono::milliseconds(timeoutMs);
  std::vector<std::size_t> ready;
  for (;;) {
    int sliceMs = kWakeSliceMs;
    if (timeoutMs >= 0) {
      const auto left = std::chrono::ceil<std::chrono::milliseconds>(end - Clock::now()).count();
      sliceMs = static_cast<int>(std::clamp<long long>(left, 0, kWakeSliceMs));
    }
    if (waited.empty()) {
      Sleep(static_cast<DWORD>(sliceMs));  // select takes no empty set
    } else {
      ready = ReadyAmong(waited, sliceMs);
    }
    if (!ready.empty() || watches_->woken.exchange(false) || (timeoutMs >= 0 && Clock::now() >= end)) break;
  }
  std::vector<std::uint64_t> tokens;
  for (const std::size_t i : ready) {
    const auto entry = watches_->sockets.find(order[i]);
    tokens.push_back(entry->second.token);
    watches_->sockets.erase(entry);  // reported once
  }
  return tokens;
}

}  // namespace relay::net
