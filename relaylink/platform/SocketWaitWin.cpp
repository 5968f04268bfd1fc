// ReadableAmong for Windows, in a file of its own: select() takes at most
// FD_SETSIZE sockets, 64 unless defined before the socket header, and the
// larger set is wanted only here.
#define FD_SETSIZE 4096
#define WIN32_LEAN_AND_MEAN
#include <winsock2.h>
#include <windows.h>

#include <memory>

#include "Socket.h"

namespace relay::net {

static_assert(FD_SETSIZE == kMaxWaitedSockets);

std::vector<std::size_t> ReadableAmong(const std::vector<SocketHandle> &sockets, int timeoutMs) {
  const auto ready = std::make_unique<fd_set>();
  FD_ZERO(ready.get());
  for (const SocketHandle socket : sockets) {
    if (socket != kInvalidSocket) FD_SET(static_cast<SOCKET>(socket), ready.get());
  }
  std::vector<std::size_t> readable;
  if (ready->fd_count == 0) {  // select refuses empty sets
    Sleep(static_cast<DWORD>(timeoutMs));
    return readable;
  }
  timeval limit{timeoutMs / 1000, (timeoutMs % 1000) * 1000};
  if (select(0, ready.get(), nullptr, nullptr, &limit) <= 0) return readable;
  for (std::size_t i = 0; i < sockets.size(); ++i) {
    if (sockets[i] != kInvalidSocket && FD_ISSET(static_cast<SOCKET>(sockets[i]), ready.get())) readable.push_back(i);
  }
  return readable;
}

}  // namespace relay::net
