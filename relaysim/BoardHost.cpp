#include "BoardHost.h"

#include <algorithm>
#include <chrono>
#include <system_error>
#include <utility>

#include "RelaySim.h"
#include "Socket.h"

namespace relay::sim {
namespace {

// How often the acceptor looks again at the boards' listeners: often while a
// board is silent after a restart, so that it listens again on time; else
// seldom, which keeps a large fleet's idle cost low and lets a board added or
// moved by a restart meanwhile wait this long to be accepted on (its clients'
// connections wait in the listener's queue).
constexpr int kSilencePollMs = 20;
constexpr int kIdlePollMs = 200;

// After a failed accept (out of descriptors or buffers) the acceptor pauses
// before it tries again, for twice as long after each further failure, up to
// the last figure: the connection stays in the listener's queue, still
// readable, and trying again at once would spin.
constexpr std::chrono::milliseconds kFirstAcceptPause(10);
constexpr std::chrono::milliseconds kLastAcceptPause(500);

}  // namespace

BoardHost::~BoardHost() {
  {
    std::lock_guard lock(mutex_);
    stopping_ = true;
  }
  work_.notify_all();
  changed_.notify_all();
  if (acceptor_.joinable()) acceptor_.join();
  for (std::thread &worker : workers_) worker.join();
}

bool BoardHost::Add(RelaySim &board) {
  std::lock_guard lock(mutex_);
  if (!acceptor_.joinable()) {
    try {
      acceptor_ = std::thread(&BoardHost::AcceptLoop, this);
    } catch (const std::system_error &) {
      return false;
    }
  }
  boards_.emplace(&board, 0);
  changed_.notify_all();
  return true;
}

void BoardHost::Remove(RelaySim &board) {
  std::unique_lock lock(mutex_);
  const auto entry = boards_.find(&board);
  if (entry == boards_.end()) return;
  const auto unserved = std::remove_if(queue_.begin(), queue_.end(), [&](const Accepted &accepted) {
    if (accepted.board != &board) return false;
    net::CloseSocket(accepted.connection.socket);
    --entry->second;
    return true;
  });
  queue_.erase(unserved, queue_.end());
  changed_.wait(lock, [&] { return entry->second == 0; });
  boards_.erase(entry);
}

void BoardHost::WaitUntilIdle(RelaySim &board) {
  std::unique_lock lock(mutex_);
  changed_.wait(lock, [&] {
    const auto entry = boards_.find(&board);
    return entry == boards_.end() || entry->second == 0;
  });
}

bool BoardHost::ConnectionsWaiting() {
  std::lock_guard lock(mutex_);
  return queue_.size() > idleWorkers_;
}

void BoardHost::AcceptLoop() {
  std::unique_lock lock(mutex_);
  std::chrono::milliseconds acceptPause(0);
  while (!stopping_) {
    if (boards_.empty()) {
      changed_.wait(lock, [this] { return stopping_ || !boards_.empty(); });
      continue;
    }
    std::vector<RelaySim *> boards;
    std::vector<net::SocketHandle> listeners;
    for (const auto &[board, unserved] : boards_) {
      boards.push_back(board);
      listeners.push_back(board->ListenerNow());
    }
    const bool silence = std::find(listeners.begin(), listeners.end(), net::kInvalidSocket) != listeners.end();
    lock.unlock();
    const std::vector<std::size_t> readable = net::ReadableAmong(listeners, silence ? kSilencePollMs : kIdlePollMs);
    lock.lock();
    bool acceptFailed = false;
    for (const std::size_t i : readable) {
      // The board may have been removed, or restarted on another listener,
      // while the lock was let go; a listener still ready now will not block.
      if (!boards_.contains(boards[i]) || boards[i]->ListenerNow() != listeners[i] ||
          net::WaitReadable(listeners[i], 0) != net::WaitResult::Ready) {
        continue;
      }
      const net::SocketHandle connection = net::AcceptConnection(listeners[i]);
      if (connection == net::kInvalidSocket) {
        acceptFailed = true;
        break;
      }
      Queue(*boards[i], connection);
      acceptPause = std::chrono::milliseconds(0);
    }
    if (acceptFailed) {
      acceptPause = std::min(acceptPause == std::chrono::milliseconds(0) ? kFirstAcceptPause : 2 * acceptPause,
                             kLastAcceptPause);
      changed_.wait_for(lock, acceptPause, [this] { return stopping_; });
    }
  }
}

void BoardHost::Queue(RelaySim &board, std::intptr_t connection) {
  // Every queued connection needs a worker of its own: idle workers that have
  // not yet taken what is queued are spoken for.
  if (idleWorkers_ <= queue_.size() && workers_.size() < kMaxWorkers) {
    try {
      workers_.emplace_back(&BoardHost::WorkLoop, this);
      ++idleWorkers_;  // counted here, so that the next connection does not start another one for nothing
    } catch (const std::system_error &) {
      if (workers_.empty()) {  // nobody could serve it
        net::CloseSocket(connection);
        return;
      }
    }
  }
  board.CountConnection();
  ++boards_[&board];
  queue_.push_back({&board, {connection, {}, std::chrono::steady_clock::now()}});
  work_.notify_one();
}

void BoardHost::WorkLoop() {
  std::unique_lock lock(mutex_);
  for (;;) {
    work_.wait(lock, [this] { return stopping_ || !queue_.empty(); });
    if (queue_.empty()) return;
    Accepted accepted = std::move(queue_.front());
    queue_.pop_front();
    --idleWorkers_;
    lock.unlock();
    const bool open = accepted.board->Serve(accepted.connection);
    lock.lock();
    ++idleWorkers_;
    if (open) {  // back in line behind those that waited; this worker takes the first
      queue_.push_back(std::move(accepted));
      continue;
    }
    --boards_[accepted.board];
    changed_.notify_all();
  }
}

}  // namespace relay::sim
