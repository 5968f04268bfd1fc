#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>

#include "Socket.h"

namespace relay::net {
namespace {

int Fd(SocketHandle socket) { return static_cast<int>(socket); }

sockaddr_in MakeAddress(std::uint32_t address, std::uint16_t port) {
  sockaddr_in addr{};
  addr.sin_family = AF_INET;
  addr.sin_port = htons(port);
  addr.sin_addr.s_addr = address;
  return addr;
}

bool SetBlocking(int fd, bool blocking) {
  const int flags = fcntl(fd, F_GETFL, 0);
  if (flags < 0) return false;
  return fcntl(fd, F_SETFL, blocking ? flags & ~O_NONBLOCK : flags | O_NONBLOCK) == 0;
}

// poll() that resumes after signals; returns poll's own result.
int PollOne(int fd, short events, int timeoutMs) {
  pollfd entry{fd, events, 0};
  int result;
  do {
    result = poll(&entry, 1, timeoutMs);
  } while (result < 0 && errno == EINTR);
  return result;
}

}  // namespace

std::uint32_t ParseIpv4(const char *text) { return inet_addr(text); }

std::uint32_t NetworkOrder(std::uint32_t hostOrder) { return htonl(hostOrder); }

SocketHandle StartConnect(std::uint32_t address, std::uint16_t port, bool &connected) {
  const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
  if (fd < 0) return kInvalidSocket;
  const sockaddr_in addr = MakeAddress(address, port);
  connected = ::connect(fd, reinterpret_cast<const sockaddr *>(&addr), sizeof addr) == 0;
  if (!connected && errno != EINPROGRESS) {
    ::close(fd);
    return kInvalidSocket;
  }
  return fd;
}

bool ConnectSucceeded(SocketHandle socket) {
  int error = 0;
  socklen_t size = sizeof error;
  return getsockopt(Fd(socket), SOL_SOCKET, SO_ERROR, &error, &size) == 0 && error == 0;
}

ConnectProgress ConnectNow(SocketHandle socket, std::uint32_t address, std::uint16_t port) {
  const sockaddr_in addr = MakeAddress(address, port);
  if (::connect(Fd(socket), reinterpret_cast<const sockaddr *>(&addr), sizeof addr) == 0 || errno == EISCONN) {
    return ConnectProgress::Open;
  }
  return errno == EALREADY || errno == EINPROGRESS || errno == EINTR ? ConnectProgress::Pending
                                                                      : ConnectProgress::Failed;
}

SocketHandle ConnectTcp(std::uint32_t address, std::uint16_t port, int timeoutMs) {
  bool connected = false;
  const SocketHandle socket = StartConnect(address, port, connected);
  if (socket == kInvalidSocket) return kInvalidSocket;
  if (!connected) connected = PollOne(Fd(socket), POLLOUT, timeoutMs) > 0 && ConnectSucceeded(socket);
  if (!connected || !SetBlocking(Fd(socket), true)) {
    ::close(Fd(socket));
    return kInvalidSocket;
  }
  const int noDelay = 1;
  setsockopt(Fd(socket), IPPROTO_TCP, TCP_NODELAY, &noDelay, sizeof noDelay);
  return socket;
}

bool SendAll(SocketHandle socket, std::string_view data, int timeoutMs) {
  using Clock = std::chrono::steady_clock;
  const int fd = Fd(socket);
  const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
  while (!data.empty()) {
    const ssize_t sent = ::send(fd, data.data(), data.size(), MSG_NOSIGNAL | MSG_DONTWAIT);
    if (sent >= 0) {
      data.remove_prefix(static_cast<std::size_t>(sent));
      continue;
    }
    if (errno == EINTR) continue;
    if (errno != EAGAIN && errno != EWOULDBLOCK) return false;
    int waitMs = -1;  // no limit: wait for room as long as it takes
    if (timeoutMs >= 0) {
      waitMs = static_cast<int>(std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now()).count());
      if (waitMs <= 0) return false;
    }
    if (PollOne(fd, POLLOUT, waitMs) <= 0) return false;
  }
  return true;
}

WaitResult WaitReadable(SocketHandle socket, int timeoutMs) {
  const int result = PollOne(Fd(socket), POLLIN, timeoutMs);
  if (result < 0) return WaitResult::Failed;
  return result == 0 ? WaitResult::TimedOut : WaitResult::Ready;
}

WaitResult WaitWritable(SocketHandle socket, int timeoutMs) {
  const int result = PollOne(Fd(socket), POLLOUT, timeoutMs);
  if (result < 0) return WaitResult::Failed;
  return result == 0 ? WaitResult::TimedOut : WaitResult::Ready;
}

std::optional<std::size_t> ReceiveSome(SocketHandle socket, char *buffer, std::size_t capacity) {
  for (;;) {
    const ssize_t received = ::recv(Fd(socket), buffer, capacity, 0);
    if (received >= 0) return static_cast<std::size_t>(received);
    if (errno != EINTR) return std::nullopt;
  }
}

Transfer SendNow(SocketHandle socket, std::string_view data) {
  for (;;) {
    const ssize_t sent = ::send(Fd(socket), data.data(), data.size(), MSG_NOSIGNAL | MSG_DONTWAIT);
    if (sent >= 0) return {static_cast<std::size_t>(sent)};
    if (errno != EINTR) return {0, errno == EAGAIN || errno == EWOULDBLOCK, errno != EAGAIN && errno != EWOULDBLOCK};
  }
}

Transfer ReceiveNow(SocketHandle socket, char *buffer, std::size_t capacity) {
  for (;;) {
    const ssize_t received = ::recv(Fd(socket), buffer, capacity, MSG_DONTWAIT);
    if (received >= 0) return {static_cast<std::size_t>(received)};
    if (errno != EINTR) return {0, errno == EAGAIN || errno == EWOULDBLOCK, errno != EAGAIN && errno != EWOULDBLOCK};
  }
}

void SetNoDelay(SocketHandle socket) {
  const int noDelay = 1;
  setsockopt(Fd(socket), IPPROTO_TCP, TCP_NODELAY, &noDelay, sizeof noDelay);
}

void CloseSocket(SocketHandle socket) {
  if (socket != kInvalidSocket) ::close(Fd(socket));
}

void SetAbortiveClose(SocketHandle socket) {
  const linger immediate{1, 0};
  setsockopt(Fd(socket), SOL_SOCKET, SO_LINGER, &immediate, sizeof immediate);
}

SocketHandle ListenTcp(std::uint32_t address, std::uint16_t port) {
  const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd < 0) return kInvalidSocket;
  const int reuse = 1;
  setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &reuse, sizeof reuse);
  const sockaddr_in addr = MakeAddress(address, port);
  if (::bind(fd, reinterpret_cast<const sockaddr *>(&addr), sizeof addr) != 0 || ::listen(fd, SOMAXCONN) != 0) {
    ::close(fd);
    return kInvalidSocket;
  }
  return fd;
}

SocketHandle AcceptConnection(SocketHandle listener) {
  for (;;) {
    const int fd = ::accept4(Fd(listener), nullptr, nullptr, SOCK_CLOEXEC);
    if (fd >= 0) {
      const int noDelay = 1;
      setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &noDelay, sizeof noDelay);
      return fd;
    }
    if (errno != EINTR) return kInvalidSocket;
  }
}

void CloseListener(SocketHandle listener) {
  if (listener == kInvalidSocket) return;
  ::shutdown(Fd(listener), SHUT_RDWR);  // leaves the listening state and wakes every waiter
  ::close(Fd(listener));
}

std::vector<std::size_t> ReadyAmong(const std::vector<WaitedSocket> &sockets, int timeoutMs) {
  std::vector<pollfd> entries;
  entries.reserve(sockets.size());
  for (const WaitedSocket &waited : sockets) {  // poll skips -1
    entries.push_back({Fd(waited.socket), static_cast<short>(waited.connecting ? POLLOUT : POLLIN), 0});
  }
  const int result = poll(entries.data(), entries.size(), timeoutMs);  // a signal ends it early, with none ready
  std::vector<std::size_t> ready;
  for (std::size_t i = 0; result > 0 && i < entries.size(); ++i) {
    if (entries[i].revents != 0) ready.push_back(i);
  }
  return ready;
}

std::size_t SocketsAtOnce(std::size_t wanted) {
  constexpr rlim_t kSpare = 32;  // standard streams, the library's socket, files
  rlimit limit{};
  if (getrlimit(RLIMIT_NOFILE, &limit) != 0) return wanted;
  const rlim_t needed = static_cast<rlim_t>(wanted) + kSpare;
  if (limit.rlim_cur < needed) {
    limit.rlim_cur = limit.rlim_max == RLIM_INFINITY ? needed : std::min(needed, limit.rlim_max);
    setrlimit(RLIMIT_NOFILE, &limit);
    getrlimit(RLIMIT_NOFILE, &limit);
  }
  if (limit.rlim_cur >= needed) return wanted;
  return limit.rlim_cur > kSpare + 1 ? static_cast<std::size_t>(limit.rlim_cur - kSpare) : 1;
}

}  // namespace relay::net
