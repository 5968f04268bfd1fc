// The wait over many sockets for Windows, in a file of its own: select()
// takes at most FD_SETSIZE sockets per set, 64 unless defined before the
// socket header, and the larger sets are wanted only here.
#define FD_SETSIZE 4096
#define WIN32_LEAN_AND_MEAN
#include <winsock2.h>
#include <windows.h>

#include <algorithm>
#include <memory>
#include <unordered_map>

#include "Socket.h"

namespace relay::net {

static_assert(FD_SETSIZE == kMaxWaitedSockets);

std::vector<std::size_t> ReadyAmong(const std::vector<WaitedSocket> &sockets, int timeoutMs) {
  // Readable ones in `readable`; connecting ones in `writable` when they
  // opened and in `failed` when they did not (Windows reports a failed
  // connect only there).
  const auto readable = std::make_unique<fd_set>();
  const auto writable = std::make_unique<fd_set>();
  const auto failed = std::make_unique<fd_set>();
  FD_ZERO(readable.get());
  FD_ZERO(writable.get());
  FD_ZERO(failed.get());
  for (const WaitedSocket &waited : sockets) {
    if (waited.socket == kInvalidSocket) continue;
    const SOCKET socket = static_cast<SOCKET>(waited.socket);
    if (waited.connecting) {
      FD_SET(socket, writable.get());
      FD_SET(socket, failed.get());
    } else {
      FD_SET(socket, readable.get());
    }
  }
  std::vector<std::size_t> ready;
  if (readable->fd_count == 0 && writable->fd_count == 0) {  // select refuses empty sets
    Sleep(timeoutMs < 0 ? INFINITE : static_cast<DWORD>(timeoutMs));
    return ready;
  }
  timeval limit{timeoutMs / 1000, (timeoutMs % 1000) * 1000};
  if (select(0, readable.get(), writable.get(), failed.get(), timeoutMs < 0 ? nullptr : &limit) <= 0) return ready;
  // select leaves in each set just the ready sockets; FD_ISSET would search
  // a set once per socket.
  std::unordered_map<SOCKET, std::size_t> positions;
  for (std::size_t i = 0; i < sockets.size(); ++i) {
    if (sockets[i].socket != kInvalidSocket) positions.emplace(static_cast<SOCKET>(sockets[i].socket), i);
  }
  for (const fd_set *set : {readable.get(), writable.get(), failed.get()}) {
    for (u_int k = 0; k < set->fd_count; ++k) ready.push_back(positions.at(set->fd_array[k]));
  }
  std::sort(ready.begin(), ready.end());
  ready.erase(std::unique(ready.begin(), ready.end()), ready.end());  // opened and failed at once
  return ready;
}

std::size_t SocketsAtOnce(std::size_t wanted) { return std::min(wanted, kMaxWaitedSockets); }

}  // namespace relay::net
