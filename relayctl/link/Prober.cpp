#include "link/Prober.h"

#include <algorithm>
#include <chrono>

#include "Protocol.h"
#include "Socket.h"

namespace relayctl {
namespace {

namespace net = relay::net;
using Clock = std::chrono::steady_clock;

struct Attempt {
  net::SocketHandle socket = net::kInvalidSocket;
  std::size_t index = 0;  // into the addresses
  bool connected = false;
  Clock::time_point deadline;
  std::string reply;
};

// Reads what is there; true when the reply is finished (the piece with its
// first ';', end of stream, an error or too long).
bool ReceiveSome(Attempt &probe) {
  char buffer[4096];
  const std::optional<std::size_t> received = net::ReceiveSome(probe.socket, buffer, sizeof buffer);
  if (!received || *received == 0) return true;
  probe.reply.append(buffer, *received);
  return relay::FrameEnd(probe.reply) != std::string::npos || probe.reply.size() >= relay::kMaxReplyBytes;
}

}  // namespace

int AllowedParallel(int parallel) {
  return static_cast<int>(net::SocketsAtOnce(static_cast<std::size_t>(std::max(1, parallel))));
}

std::vector<ProbeReply> Probe(const std::vector<std::uint32_t> &addresses, const std::string &request,
                              const ProbeOptions &options, const std::function<void(std::size_t)> &progress,
                              const std::function<bool()> &stop) {
  std::vector<ProbeReply> replies;
  std::vector<Attempt> active;
  std::vector<net::WaitedSocket> waited;
  std::size_t next = 0;
  std::size_t finished = 0;
  const std::size_t parallel = std::min(static_cast<std::size_t>(std::max(1, options.parallel)),
                                        net::kMaxWaitedSockets);

  // The request is a few bytes: an empty socket buffer takes them at once.
  const auto awaitReply = [&](Attempt &probe) {
    probe.connected = true;
    probe.deadline = Clock::now() + std::chrono::milliseconds(options.replyTimeoutMs);
    return net::SendAll(probe.socket, request, 0);
  };
  const auto finish = [&](Attempt &probe) {
    if (probe.connected) {
      replies.push_back({addresses[probe.index], std::move(probe.reply)});
    }
    net::CloseSocket(probe.socket);
    probe.socket = net::kInvalidSocket;
    ++finished;
  };

  while (finished < addresses.size() && !(stop && stop())) {
    const std::size_t finishedBefore = finished;
    while (next < addresses.size() && active.size() < parallel) {
      Attempt probe;
      probe.index = next;
      bool connectedAtOnce = false;
      probe.socket = net::StartConnect(net::NetworkOrder(addresses[next++]), options.port, connectedAtOnce);
      if (probe.socket == net::kInvalidSocket) {
        ++finished;
        continue;
      }
      probe.deadline = Clock::now() + std::chrono::milliseconds(options.connectTimeoutMs);
      if (connectedAtOnce && !awaitReply(probe)) {
        finish(probe);
        continue;
      }
      active.push_back(std::move(probe));
    }

    if (!active.empty()) {
      waited.clear();
      Clock::time_point soonest = Clock::time_point::max();
      for (const Attempt &probe : active) {
        waited.push_back({probe.socket, !probe.connected});
        soonest = std::min(soonest, probe.deadline);
      }
      const auto wait = std::chrono::ceil<std::chrono::milliseconds>(soonest - Clock::now()).count();
      const std::vector<std::size_t> ready =
          net::ReadyAmong(waited, static_cast<int>(std::max<long long>(0, wait)));

      for (const std::size_t i : ready) {
        Attempt &probe = active[i];
        if (!probe.connected) {
          if (!net::ConnectSucceeded(probe.socket) || !awaitReply(probe)) finish(probe);
        } else if (ReceiveSome(probe)) {
          finish(probe);
        }
      }
      const Clock::time_point now = Clock::now();
      for (Attempt &probe : active) {
        if (probe.socket != net::kInvalidSocket && now >= probe.deadline) finish(probe);
      }
      std::erase_if(active, [](const Attempt &probe) { return probe.socket == net::kInvalidSocket; });
    }
    if (finished != finishedBefore && progress) progress(finished);
  }
  // Only after a stop: these were cut short, so they count as addresses
  // without an answer.
  for (const Attempt &probe : active) net::CloseSocket(probe.socket);

  std::sort(replies.begin(), replies.end(),
            [&](const ProbeReply &a, const ProbeReply &b) { return a.address < b.address; });
  return replies;
}

}  // namespace relayctl
