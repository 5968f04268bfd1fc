#define WIN32_LEAN_AND_MEAN
#include <winsock2.h>
#include <windows.h>

#include "Socket.h"

namespace relay::net {
namespace {

SOCKET Sock(SocketHandle socket) { return static_cast<SOCKET>(socket); }

sockaddr_in MakeAddress(std::uint32_t address, std::uint16_t port) {
  sockaddr_in addr{};
  addr.sin_family = AF_INET;
  addr.sin_port = htons(port);
  addr.sin_addr.s_addr = address;
  return addr;
}

bool SetBlocking(SOCKET socket, bool blocking) {
  u_long nonBlocking = blocking ? 0 : 1;
  return ioctlsocket(socket, FIONBIO, &nonBlocking) == 0;
}

// Sockets are not handed down to programs we start (the ARP tool).
void KeepFromChildren(SOCKET socket) {
  SetHandleInformation(reinterpret_cast<HANDLE>(socket), HANDLE_FLAG_INHERIT, 0);
}

void NoDelay(SOCKET socket) {
  const BOOL noDelay = TRUE;
  setsockopt(socket, IPPROTO_TCP, TCP_NODELAY, reinterpret_cast<const char *>(&noDelay), sizeof noDelay);
}

// A send's or receive's result as a Transfer.
Transfer Moved(int result) {
  if (result != SOCKET_ERROR) return {static_cast<std::size_t>(result)};
  const bool wouldBlock = WSAGetLastError() == WSAEWOULDBLOCK;
  return {0, wouldBlock, !wouldBlock};
}

// Winsock 1.1 is started once per process, on first use rather than while the
// DLL is being loaded (the loader lock forbids loading further DLLs then), and
// stays up until the process ends.
void StartSockets() {
  static const bool started = [] {
    WSADATA data;
    return WSAStartup(MAKEWORD(1, 1), &data) == 0;
  }();
  (void)started;
}

SOCKET NewStreamSocket() {
  StartSockets();
  const SOCKET socket = ::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
  if (socket != INVALID_SOCKET) KeepFromChildren(socket);
  return socket;
}

// select() on one socket; a negative time-out waits without limit. Returns
// select's own result. Given `failed`, it also watches the exception set,
// where Windows reports a failed non-blocking connect, and tells whether the
// socket landed there.
int SelectOne(SOCKET socket, bool forWrite, int timeoutMs, bool *failed = nullptr) {
  fd_set ready;
  fd_set errors;
  FD_ZERO(&ready);
  FD_ZERO(&errors);
  FD_SET(socket, &ready);
  FD_SET(socket, &errors);
  timeval limit{timeoutMs / 1000, (timeoutMs % 1000) * 1000};
  const int result = select(0, forWrite ? nullptr : &ready, forWrite ? &ready : nullptr,
                            failed != nullptr ? &errors : nullptr, timeoutMs < 0 ? nullptr : &limit);
  if (failed != nullptr) *failed = result > 0 && FD_ISSET(socket, &errors);
  return result;
}

}  // namespace

std::uint32_t ParseIpv4(const char *text) {
  StartSockets();
  return inet_addr(text);
}

std::uint32_t NetworkOrder(std::uint32_t hostOrder) { return htonl(hostOrder); }

SocketHandle StartConnect(std::uint32_t address, std::uint16_t port, bool &connected) {
  const SOCKET socket = NewStreamSocket();
  if (socket == INVALID_SOCKET) return kInvalidSocket;
  const sockaddr_in addr = MakeAddress(address, port);
  connected = SetBlocking(socket, false) &&
              ::connect(socket, reinterpret_cast<const sockaddr *>(&addr), sizeof addr) == 0;
  if (!connected && WSAGetLastError() != WSAEWOULDBLOCK) {
    closesocket(socket);
    return kInvalidSocket;
  }
  return static_cast<SocketHandle>(socket);
}

bool ConnectSucceeded(SocketHandle socket) {
  int error = 0;
  int size = sizeof error;
  return getsockopt(Sock(socket), SOL_SOCKET, SO_ERROR, reinterpret_cast<char *>(&error), &size) == 0 && error == 0;
}

ConnectProgress ConnectNow(SocketHandle socket, std::uint32_t address, std::uint16_t port) {
  const sockaddr_in addr = MakeAddress(address, port);
  if (::connect(Sock(socket), reinterpret_cast<const sockaddr *>(&addr), sizeof addr) == 0) return ConnectProgress::Open;
  switch (WSAGetLastError()) {
    case WSAEISCONN:
      return ConnectProgress::Open;
    case WSAEALREADY:
    case WSAEINVAL:  // still in progress, as Winsock 1.1 says it
    case WSAEWOULDBLOCK:
      return ConnectProgress::Pending;
    default:
      return ConnectProgress::Failed;
  }
}

SocketHandle ConnectTcp(std::uint32_t address, std::uint16_t port, int timeoutMs) {
  bool connected = false;
  const SocketHandle socket = StartConnect(address, port, connected);
  if (socket == kInvalidSocket) return kInvalidSocket;
  if (!connected) {
    bool failed = false;
    connected = SelectOne(Sock(socket), true, timeoutMs, &failed) > 0 && !failed && ConnectSucceeded(socket);
  }
  if (!connected || !SetBlocking(Sock(socket), true)) {
    closesocket(Sock(socket));
    return kInvalidSocket;
  }
  NoDelay(Sock(socket));
  return socket;
}

bool SendAll(SocketHandle socket, std::string_view data, int timeoutMs) {
  // A peer that stops reading would otherwise hold a long send forever: with
  // this limit Winsock ends a blocking send that takes longer (WSAETIMEDOUT).
  const DWORD sendLimit = timeoutMs < 0 ? 0 : static_cast<DWORD>(timeoutMs > 0 ? timeoutMs : 1);
  setsockopt(Sock(socket), SOL_SOCKET, SO_SNDTIMEO, reinterpret_cast<const char *>(&sendLimit), sizeof sendLimit);
  while (!data.empty()) {
    const int sent = ::send(Sock(socket), data.data(), static_cast<int>(data.size()), 0);
    if (sent == SOCKET_ERROR) {
      // A would-block answer only means "not now": wait for room, within the
      // send limit.
      if (WSAGetLastError() == WSAEWOULDBLOCK && SelectOne(Sock(socket), true, timeoutMs) > 0) {
        continue;
      }
      return false;
    }
    data.remove_prefix(static_cast<std::size_t>(sent));
  }
  return true;
}

WaitResult WaitReadable(SocketHandle socket, int timeoutMs) {
  const int result = SelectOne(Sock(socket), false, timeoutMs);
  if (result == SOCKET_ERROR) return WaitResult::Failed;
  return result == 0 ? WaitResult::TimedOut : WaitResult::Ready;
}

WaitResult WaitWritable(SocketHandle socket, int timeoutMs) {
  bool failed = false;  // a failed connect counts as ready: ConnectSucceeded tells
  const int result = SelectOne(Sock(socket), true, timeoutMs, &failed);
  if (result == SOCKET_ERROR) return WaitResult::Failed;
  return result == 0 ? WaitResult::TimedOut : WaitResult::Ready;
}

std::optional<std::size_t> ReceiveSome(SocketHandle socket, char *buffer, std::size_t capacity) {
  for (;;) {
    const int received = ::recv(Sock(socket), buffer, static_cast<int>(capacity), 0);
    if (received != SOCKET_ERROR) return static_cast<std::size_t>(received);
    // A would-block answer only means "not now": wait for data, as a blocking
    // receive would.
    if (WSAGetLastError() != WSAEWOULDBLOCK || SelectOne(Sock(socket), false, -1) <= 0) return std::nullopt;
  }
}

Transfer SendNow(SocketHandle socket, std::string_view data) {
  return Moved(::send(Sock(socket), data.data(), static_cast<int>(data.size()), 0));
}

Transfer ReceiveNow(SocketHandle socket, char *buffer, std::size_t capacity) {
  return Moved(::recv(Sock(socket), buffer, static_cast<int>(capacity), 0));
}

void SetNoDelay(SocketHandle socket) { NoDelay(Sock(socket)); }

void CloseSocket(SocketHandle socket) {
  if (socket != kInvalidSocket) closesocket(Sock(socket));
}

void SetAbortiveClose(SocketHandle socket) {
  const linger immediate{1, 0};
  setsockopt(Sock(socket), SOL_SOCKET, SO_LINGER, reinterpret_cast<const char *>(&immediate), sizeof immediate);
}

SocketHandle ListenTcp(std::uint32_t address, std::uint16_t port) {
  const SOCKET socket = NewStreamSocket();
  if (socket == INVALID_SOCKET) return kInvalidSocket;
  const sockaddr_in addr = MakeAddress(address, port);
  if (::bind(socket, reinterpret_cast<const sockaddr *>(&addr), sizeof addr) != 0 ||
      ::listen(socket, SOMAXCONN) != 0) {
    closesocket(socket);
    return kInvalidSocket;
  }
  return static_cast<SocketHandle>(socket);
}

SocketHandle AcceptConnection(SocketHandle listener) {
  const SOCKET socket = ::accept(Sock(listener), nullptr, nullptr);
  if (socket == INVALID_SOCKET) return kInvalidSocket;
  KeepFromChildren(socket);
  NoDelay(socket);
  return static_cast<SocketHandle>(socket);
}

// Winsock closes a socket at once, whoever waits on it.
void CloseListener(SocketHandle listener) { CloseSocket(listener); }

}  // namespace relay::net
