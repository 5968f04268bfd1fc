// Many TCP probes at once: connect to one port of each address with a short
// bound, send one request on every connection that opens and gather the reply.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "DeviceLink.h"

namespace relayctl {

struct ProbeOptions {
  std::uint16_t port = relay::DevicePort;
  int connectTimeoutMs = 500;
  int replyTimeoutMs = 2000;
  int parallel = 256;  // connections in flight at most
};

struct ProbeReply {
  std::uint32_t address = 0;  // host order
  std::string reply;          // what arrived up to the piece with the first ';', the end of stream or the bound
};

// How many probes at once the process can make, at most `parallel`: on POSIX
// after raising its limit of open descriptors as far as it goes
// (net::SocketsAtOnce).
int AllowedParallel(int parallel);

// Probes every address (host order) and returns one entry per address whose
// port accepted the connection, in ascending address order. `progress` (may
// be empty) is told the number of addresses finished so far whenever it
// grows. When `stop` (may be empty) answers true, probing ends at once and
// the replies complete by then are returned.
std::vector<ProbeReply> Probe(const std::vector<std::uint32_t> &addresses, const std::string &request,
                              const ProbeOptions &options, const std::function<void(std::size_t)> &progress,
                              const std::function<bool()> &stop);

}  // namespace relayctl
