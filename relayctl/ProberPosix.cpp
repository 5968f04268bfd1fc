#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>

#include "Prober.h"
#include "Protocol.h"

namespace relayctl {
namespace {

using Clock = std::chrono::steady_clock;

struct Attempt {
  int fd = -1;
  std::size_t index = 0;  // into the addresses
  bool connected = false;
  Clock::time_point deadline;
  std::string reply;
};

// Starts a non-blocking connect; -1 when it failed at once (refused, unreachable).
int StartConnect(std::uint32_t address, std::uint16_t port, bool &connectedAtOnce) {
  const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
  if (fd < 0) return -1;
  sockaddr_in addr{};
  addr.sin_family = AF_INET;
  addr.sin_port = htons(port);
  addr.sin_addr.s_addr = htonl(address);
  connectedAtOnce = ::connect(fd, reinterpret_cast<const sockaddr *>(&addr), sizeof addr) == 0;
  if (!connectedAtOnce && errno != EINPROGRESS) {
    ::close(fd);
    return -1;
  }
  return fd;
}

bool ConnectSucceeded(int fd) {
  int error = 0;
  socklen_t size = sizeof error;
  return getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &size) == 0 && error == 0;
}

// Sends the request on a connection that has just opened. The request is a
// few bytes, so one send into an empty socket buffer takes all of it.
bool SendRequest(int fd, const std::string &request) {
  return ::send(fd, request.data(), request.size(), MSG_NOSIGNAL) == static_cast<ssize_t>(request.size());
}

// Reads what is there; true when the reply is finished (the piece with its
// first ';', end of stream, an error or too long).
bool ReceiveSome(Attempt &probe) {
  char buffer[4096];
  const ssize_t received = ::recv(probe.fd, buffer, sizeof buffer, 0);
  if (received < 0) return errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR;
  if (received == 0) return true;
  probe.reply.append(buffer, static_cast<std::size_t>(received));
  return relay::FrameEnd(probe.reply) != std::string::npos || probe.reply.size() >= relay::kMaxReplyBytes;
}

}  // namespace

int AllowedParallel(int parallel) {
  constexpr rlim_t kSpare = 32;  // standard streams, the library's socket, files
  rlimit limit{};
  if (getrlimit(RLIMIT_NOFILE, &limit) != 0) return parallel;
  const rlim_t wanted = static_cast<rlim_t>(parallel) + kSpare;
  if (limit.rlim_cur < wanted) {
    limit.rlim_cur = limit.rlim_max == RLIM_INFINITY ? wanted : std::min(wanted, limit.rlim_max);
    setrlimit(RLIMIT_NOFILE, &limit);
    getrlimit(RLIMIT_NOFILE, &limit);
  }
  if (limit.rlim_cur >= wanted) return parallel;
  return limit.rlim_cur > kSpare ? static_cast<int>(limit.rlim_cur - kSpare) : 1;
}

bool Accepts(std::uint32_t address, std::uint16_t port, int timeoutMs) {
  bool connected = false;
  const int fd = StartConnect(address, port, connected);
  if (fd < 0) return false;
  if (!connected) {
    pollfd entry{fd, POLLOUT, 0};
    connected = ::poll(&entry, 1, timeoutMs) > 0 && ConnectSucceeded(fd);
  }
  ::close(fd);
  return connected;
}

std::vector<ProbeReply> Probe(const std::vector<std::uint32_t> &addresses, const std::string &request,
                              const ProbeOptions &options, const std::function<void(std::size_t)> &progress,
                              const std::function<bool()> &stop) {
  std::vector<ProbeReply> replies;
  std::vector<Attempt> active;
  std::vector<pollfd> polled;
  std::size_t next = 0;
  std::size_t finished = 0;
  const std::size_t parallel = static_cast<std::size_t>(std::max(1, options.parallel));

  const auto awaitReply = [&](Attempt &probe) {
    probe.connected = true;
    probe.deadline = Clock::now() + std::chrono::milliseconds(options.replyTimeoutMs);
    return SendRequest(probe.fd, request);
  };
  const auto finish = [&](Attempt &probe) {
    if (probe.connected) {
      replies.push_back({addresses[probe.index], std::move(probe.reply)});
    }
    ::close(probe.fd);
    probe.fd = -1;
    ++finished;
  };

  while (finished < addresses.size() && !(stop && stop())) {
    const std::size_t finishedBefore = finished;
    while (next < addresses.size() && active.size() < parallel) {
      Attempt probe;
      probe.index = next;
      bool connectedAtOnce = false;
      probe.fd = StartConnect(addresses[next++], options.port, connectedAtOnce);
      if (probe.fd < 0) {
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
      polled.clear();
      Clock::time_point soonest = Clock::time_point::max();
      for (const Attempt &probe : active) {
        polled.push_back({probe.fd, static_cast<short>(probe.connected ? POLLIN : POLLOUT), 0});
        soonest = std::min(soonest, probe.deadline);
      }
      const auto wait = std::chrono::ceil<std::chrono::milliseconds>(soonest - Clock::now()).count();
      const int ready = ::poll(polled.data(), polled.size(), static_cast<int>(std::max<long long>(0, wait)));
      if (ready < 0 && errno != EINTR) break;

      const Clock::time_point now = Clock::now();
      for (std::size_t i = 0; i < active.size(); ++i) {
        Attempt &probe = active[i];
        const short events = ready > 0 ? polled[i].revents : 0;
        if (!probe.connected && events != 0) {
          if (!ConnectSucceeded(probe.fd) || !awaitReply(probe)) finish(probe);
        } else if (probe.connected && events != 0) {
          if (ReceiveSome(probe)) finish(probe);
        }
        if (probe.fd >= 0 && now >= probe.deadline) finish(probe);
      }
      active.erase(std::remove_if(active.begin(), active.end(), [](const Attempt &p) { return p.fd < 0; }),
                   active.end());
    }
    if (finished != finishedBefore && progress) progress(finished);
  }
  // Only after a stop or a failed poll: these were cut short, so they count
  // as addresses without an answer.
  for (const Attempt &probe : active) ::close(probe.fd);

  std::sort(replies.begin(), replies.end(),
            [&](const ProbeReply &a, const ProbeReply &b) { return a.address < b.address; });
  return replies;
}

}  // namespace relayctl
