// The event loop's wait on Windows: the watched sockets in a map, waited on
// together with ReadyAmong's select.
#define WIN32_LEAN_AND_MEAN
#include <winsock2.h>

#include <map>

#include "Socket.h"

namespace relay::net {

struct Poller::Watches {
  struct Watch {
    bool writable;
    std::uint64_t token;
  };
  std::map<SocketHandle, Watch> sockets;
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

std::vector<std::uint64_t> Poller::Wait(int timeoutMs) {
  std::vector<WaitedSocket> waited;
  std::vector<SocketHandle> order;
  for (const auto &[socket, watch] : watches_->sockets) {
    waited.push_back({socket, watch.writable});
    order.push_back(socket);
  }
  std::vector<std::uint64_t> tokens;
  for (const std::size_t i : ReadyAmong(waited, timeoutMs)) {
    const auto entry = watches_->sockets.find(order[i]);
    tokens.push_back(entry->second.token);
    watches_->sockets.erase(entry);  // reported once
  }
  return tokens;
}

}  // namespace relay::net
