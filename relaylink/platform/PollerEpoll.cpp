// The event loop's wait on Linux: an epoll set with one-shot watches, so that
// a reported socket stays quiet until it is watched again, and an eventfd
// that stays in the set to wake the wait.
#include <sys/epoll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <limits>

#include "Socket.h"

namespace relay::net {
namespace {

// The wake eventfd's token, which no watch is given.
constexpr std::uint64_t kWakeToken = std::numeric_limits<std::uint64_t>::max();

}  // namespace

struct Poller::Watches {
  int epoll = ::epoll_create1(EPOLL_CLOEXEC);
  int wake = ::eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
  std::vector<epoll_event> reported;
};

Poller::Poller() : watches_(std::make_unique<Watches>()) {
  epoll_event event{};
  event.events = EPOLLIN;  // level-triggered: it stays set until Wait reads it
  event.data.u64 = kWakeToken;
  ::epoll_ctl(watches_->epoll, EPOLL_CTL_ADD, watches_->wake, &event);
}

Poller::~Poller() {
  if (watches_->wake >= 0) ::close(watches_->wake);
  if (watches_->epoll >= 0) ::close(watches_->epoll);
}

void Poller::Wake() {
  const std::uint64_t one = 1;
  [[maybe_unused]] const ssize_t written = ::write(watches_->wake, &one, sizeof one);  // full only when already set
}

bool Poller::Watch(SocketHandle socket, bool writable, std::uint64_t token) {
  epoll_event event{};
  event.events = (writable ? EPOLLOUT : EPOLLIN) | EPOLLONESHOT;
  event.data.u64 = token;
  const int fd = static_cast<int>(socket);
  // A socket stays in the set after its report (disabled) until it is
  // closed or forgotten: modify it, else add it.
  if (::epoll_ctl(watches_->epoll, EPOLL_CTL_MOD, fd, &event) == 0) return true;
  return errno == ENOENT && ::epoll_ctl(watches_->epoll, EPOLL_CTL_ADD, fd, &event) == 0;
}

void Poller::Forget(SocketHandle socket) {
  ::epoll_ctl(watches_->epoll, EPOLL_CTL_DEL, static_cast<int>(socket), nullptr);
}

std::vector<std::uint64_t> Poller::Wait(int timeoutMs) {
  constexpr std::size_t kReportedAtOnce = 1024;
  watches_->reported.resize(kReportedAtOnce);
  const int count = ::epoll_wait(watches_->epoll, watches_->reported.data(), static_cast<int>(kReportedAtOnce), timeoutMs);
  std::vector<std::uint64_t> tokens;
  for (int i = 0; i < count; ++i) {
    const std::uint64_t token = watches_->reported[static_cast<std::size_t>(i)].data.u64;
    if (token != kWakeToken) {
      tokens.push_back(token);
      continue;
    }
    std::uint64_t wakes;
    [[maybe_unused]] const ssize_t read = ::read(watches_->wake, &wakes, sizeof wakes);  // clears it
  }
  return tokens;
}

}  // namespace relay::net
