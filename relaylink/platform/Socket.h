// Thin platform layer over TCP sockets: the only code that includes the
// operating system's socket headers. Everything above it speaks in handles,
// byte strings and milliseconds.
#pragma once

#include <cstddef>
#include <cstdint>
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

// Opens a blocking TCP connection, giving up after `timeoutMs`.
// Returns kInvalidSocket on any failure.
SocketHandle ConnectTcp(std::uint32_t address, std::uint16_t port, int timeoutMs);

// Sends all of `data`. False on an error, or when the peer has not taken all
// of it within `timeoutMs` (negative: no limit), as with a peer that stopped
// reading; the connection is useless then.
bool SendAll(SocketHandle socket, std::string_view data, int timeoutMs = -1);

enum class WaitResult { Ready, TimedOut, Failed };

// Waits until `socket` is readable (data, end of stream or an error pending).
WaitResult WaitReadable(SocketHandle socket, int timeoutMs);

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

// Waits until at least one of `sockets` is readable, at most `timeoutMs`, and
// returns the positions of the readable ones: empty on a time-out or a
// failure. kInvalidSocket entries are never readable. At most
// kMaxWaitedSockets sockets.
inline constexpr std::size_t kMaxWaitedSockets = 4096;
std::vector<std::size_t> ReadableAmong(const std::vector<SocketHandle> &sockets, int timeoutMs);

}  // namespace relay::net
