// Thin platform layer over TCP sockets: the only code that includes the
// operating system's socket headers. Everything above it speaks in handles,
// byte strings and milliseconds.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string_view>
#include <vector>

namespace relay::net {

using SocketHandle = std::intptr_t;
inline constexpr SocketHandle kInvalidSocket = -1;

// The layer starts itself on first use (Winsock 1.1 on Windows). Sends never
// raise SIGPIPE in the host process.

// IPv4 text to address in network byte order by the classic inet_addr rules
// (short, octal and hexadecimal forms accepted); nothing is looked up. A text
// that is no address yields the all-ones address.
std::uint32_t ParseIpv4(const char *text);

// An IPv4 address in host byte order, in network byte order.
std::uint32_t NetworkOrder(std::uint32_t hostOrder);

// Opens a blocking TCP connection, giving up after `timeoutMs`.
// Returns kInvalidSocket on any failure.
SocketHandle ConnectTcp(std::uint32_t address, std::uint16_t port, int timeoutMs);

// Starts a connection without waiting for it, for many attempts at once: the
// socket stays non-blocking. `connected` tells whether it connected at once;
// kInvalidSocket when it failed at once (refused, unreachable).
SocketHandle StartConnect(std::uint32_t address, std::uint16_t port, bool &connected);

// Whether a started connection that has become ready (ReadyAmong) is open.
bool ConnectSucceeded(SocketHandle socket);

// Where a started connection to `address`:`port` stands now, asked without
// waiting (a loopback connection is often open by the next call).
enum class ConnectProgress { Open, Pending, Failed };
ConnectProgress ConnectNow(SocketHandle socket, std::uint32_t address, std::uint16_t port);

// Sends all of `data`. False on an error, or when the peer has not taken all
// of it within `timeoutMs` (negative: no limit), as with a peer that stopped
// reading; the connection is useless then.
bool SendAll(SocketHandle socket, std::string_view data, int timeoutMs = -1);

enum class WaitResult { Ready, TimedOut, Failed };

// Waits until `socket` is readable (data, end of stream or an error pending).
WaitResult WaitReadable(SocketHandle socket, int timeoutMs);
// Waits until `socket` is writable, or its started connection has opened or
// failed (ConnectSucceeded tells which).
WaitResult WaitWritable(SocketHandle socket, int timeoutMs);

// One receive into `buffer`: the byte count, 0 when the peer closed the
// connection, or nullopt on an error.
std::optional<std::size_t> ReceiveSome(SocketHandle socket, char *buffer, std::size_t capacity);

// Closes the socket; kInvalidSocket is ignored.
void CloseSocket(SocketHandle socket);

// Makes the next close send a reset instead of an orderly end of stream.
void SetAbortiveClose(SocketHandle socket);

// Server side, used by the stand-in device: a listening socket bound to
// `address`:`port` (the address may be reused right after a previous listener
// closed), and accepting one connection. kInvalidSocket on failure.
SocketHandle ListenTcp(std::uint32_t address, std::uint16_t port);
SocketHandle AcceptConnection(SocketHandle listener);
// Closes a listener so that it refuses connections at once, even while
// another thread still waits on it (a plain close would leave it listening
// until that wait ends); kInvalidSocket is ignored.
void CloseListener(SocketHandle listener);

// Waits until at least one of `sockets` is ready, at most `timeoutMs`
// (negative: no limit), and returns the positions of the ready ones: empty on
// a time-out, a failure or, on POSIX, a signal. A socket is ready when readable (data, end of
// stream or an error pending) or, while `connecting`, when its started
// connection has opened or failed. kInvalidSocket entries are never ready. At
// most kMaxWaitedSockets sockets.
struct WaitedSocket {
  SocketHandle socket = kInvalidSocket;
  bool connecting = false;
};
inline constexpr std::size_t kMaxWaitedSockets = 4096;
std::vector<std::size_t> ReadyAmong(const std::vector<WaitedSocket> &sockets, int timeoutMs);

// ReadyAmong for sockets that are all waited on to be readable.
inline std::vector<std::size_t> ReadableAmong(const std::vector<SocketHandle> &sockets, int timeoutMs) {
  std::vector<WaitedSocket> waited;
  waited.reserve(sockets.size());
  for (const SocketHandle socket : sockets) waited.push_back({socket, false});
  return ReadyAmong(waited, timeoutMs);
}

// One try at sending or receiving on a non-blocking socket (StartConnect's):
// the bytes moved, or that the socket can take or give nothing now, or that
// the connection failed. A receive of no bytes, neither waiting nor failed,
// is the peer's end of stream.
struct Transfer {
  std::size_t bytes = 0;
  bool wouldBlock = false;
  bool failed = false;
};
Transfer SendNow(SocketHandle socket, std::string_view data);
Transfer ReceiveNow(SocketHandle socket, char *buffer, std::size_t capacity);

// Sends small frames at once (no Nagle delay) on a connected socket.
void SetNoDelay(SocketHandle socket);

// Waits on many sockets for an event loop: each watched socket is reported
// once, by the token it was watched with, when it becomes readable (data, end
// of stream or an error) or, watched `writable`, writable (a started
// connection has opened or failed). A watch ends when it is reported or
// forgotten; watching a socket again replaces its watch. A socket whose watch
// is still on must be forgotten before it is closed. On Linux an epoll set;
// on Windows a select over at most kMaxWaitedSockets sockets. One thread
// watches, forgets and waits; any thread may wake it.
class Poller {
 public:
  Poller();
  ~Poller();
  Poller(const Poller &) = delete;
  Poller &operator=(const Poller &) = delete;

  // False when the socket cannot be watched (not a socket, too many).
  bool Watch(SocketHandle socket, bool writable, std::uint64_t token);
  void Forget(SocketHandle socket);
  // Waits at most `timeoutMs` (negative: no limit) and gives the tokens of
  // the sockets reported: none on a time-out or, on POSIX, a signal.
  std::vector<std::uint64_t> Wait(int timeoutMs);
  // Ends the Wait under way, or the next one, early (with the tokens reported
  // by then, if any), so that the waiting thread sees what another thread
  // changed: at once on Linux, within kWakeSliceMs on Windows.
  void Wake();
  static constexpr int kWakeSliceMs = 10;

 private:
  struct Watches;
  std::unique_ptr<Watches> watches_;
};

// How many sockets of its own the caller can hold open at once, at most
// `wanted`. On POSIX the process's soft limit of open descriptors is raised
// towards what that takes (up to the hard limit), with a few left spare for
// streams and files; on Windows the bound is the waits', kMaxWaitedSockets.
std::size_t SocketsAtOnce(std::size_t wanted);

}  // namespace relay::net
