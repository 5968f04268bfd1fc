#include "BoardHost.h"

#include <algorithm>
#include <system_error>
#include <utility>

#include "RelaySim.h"

namespace relay::sim {
namespace {

// After a failed accept (out of descriptors or buffers) the loop looks at that
// listener again after a pause, twice as long after each further failure, up
// to the last figure: the connection stays in the listener's queue, still
// readable, and trying again at once would spin.
constexpr std::chrono::milliseconds kFirstAcceptPause(10);
constexpr std::chrono::milliseconds kLastAcceptPause(500);

// A connection's idle limit is looked at again at least this often, so that
// a limit lowered meanwhile (SetOptions) takes effect within it.
constexpr std::chrono::milliseconds kIdleRecheck(1000);

}  // namespace

BoardHost::~BoardHost() {
  {
    std::lock_guard lock(mutex_);
    stopping_ = true;
  }
  poller_.Wake();
  work_.notify_all();
  if (loop_.joinable()) loop_.join();
  for (std::thread &worker : workers_) worker.join();
}

bool BoardHost::Add(RelaySim &board) {
  {
    std::lock_guard lock(mutex_);
    if (!loop_.joinable()) {
      try {
        loop_ = std::thread(&BoardHost::Loop, this);
      } catch (const std::system_error &) {
        return false;
      }
    }
    const std::uint64_t token = nextToken_++;
    boards_.emplace(&board, Hosted{token, net::kInvalidSocket, {}, false});
    watched_.emplace(token, Watched{&board, true, {}});
    added_.push_back(&board);
  }
  poller_.Wake();
  return true;
}

void BoardHost::Remove(RelaySim &board) {
  std::unique_lock lock(mutex_);
  if (!boards_.contains(&board)) return;
  removing_.push_back(&board);
  poller_.Wake();
  changed_.wait(lock, [&] { return !boards_.contains(&board); });
}

void BoardHost::WaitUntilIdle(RelaySim &board) {
  std::unique_lock lock(mutex_);
  changed_.wait(lock, [&] {
    const auto entry = boards_.find(&board);
    return entry == boards_.end() || entry->second.connections.empty();
  });
}

void BoardHost::Loop() {
  std::unique_lock lock(mutex_);
  while (!stopping_) {
    TakeRequests();
    RunTimers();
    int timeoutMs = -1;
    if (!timers_.empty()) {
      const auto left = std::chrono::ceil<std::chrono::milliseconds>(timers_.top().due - Clock::now());
      timeoutMs = static_cast<int>(std::max<std::chrono::milliseconds::rep>(left.count(), 0));
    }
    lock.unlock();
    const std::vector<std::uint64_t> ready = poller_.Wait(timeoutMs);
    lock.lock();
    for (const std::uint64_t token : ready) OnReady(token);
  }
}

void BoardHost::TakeRequests() {
  for (RelaySim *board : std::exchange(added_, {})) FollowListener(*board, boards_.at(board));
  for (const Delivered delivered : std::exchange(delivered_, {})) {
    Watched &watched = watched_.at(delivered.token);
    watched.atWorker = false;
    if (!delivered.open || boards_.at(watched.board).removing) {
      RelaySim &board = *watched.board;
      Close(delivered.token);
      FinishRemovalWhenDone(board);
      continue;
    }
    watched.connection.lastFrame = Clock::now();  // after the reply, however long it took
    ScheduleIdleCheck(delivered.token, watched);
    AnswerReceived(delivered.token, watched);
  }
  for (RelaySim *board : std::exchange(removing_, {})) {
    Hosted &hosted = boards_.at(board);
    hosted.removing = true;
    for (const std::uint64_t token : std::set(hosted.connections)) {
      if (!watched_.at(token).atWorker) Close(token);
    }
    FinishRemovalWhenDone(*board);
  }
}

void BoardHost::FinishRemovalWhenDone(RelaySim &board) {
  const auto entry = boards_.find(&board);
  if (!entry->second.removing || !entry->second.connections.empty()) return;
  poller_.Forget(entry->second.listener);  // the board closes it once let go
  watched_.erase(entry->second.token);
  boards_.erase(entry);
  changed_.notify_all();
}

void BoardHost::RunTimers() {
  const Clock::time_point now = Clock::now();
  while (!timers_.empty() && timers_.top().due <= now) {
    const Timer timer = timers_.top();
    timers_.pop();
    const auto entry = watched_.find(timer.token);
    if (entry == watched_.end()) continue;  // its board or connection is gone
    Watched &watched = entry->second;
    if (watched.listener) {  // a silence over, or an accept to try again
      Hosted &hosted = boards_.at(watched.board);
      FollowListener(*watched.board, hosted);
      if (hosted.listener != net::kInvalidSocket) poller_.Watch(hosted.listener, false, hosted.token);
      continue;
    }
    if (watched.atWorker || watched.idleCheck != timer.due) continue;  // looked at again once it is back
    const int idleLimitMs = watched.board->IdleLimitMs();
    if (now - watched.connection.lastFrame < std::chrono::milliseconds(idleLimitMs)) {
      ScheduleIdleCheck(timer.token, watched);
      continue;
    }
    watched.board->Trace("-> (closed, no frame for " + std::to_string(idleLimitMs) + " ms)");
    Close(timer.token);
  }
}

void BoardHost::ScheduleIdleCheck(std::uint64_t token, Watched &watched) {
  const auto limit = std::chrono::milliseconds(watched.board->IdleLimitMs());
  watched.idleCheck = std::min(watched.connection.lastFrame + limit, Clock::now() + kIdleRecheck);
  timers_.push({watched.idleCheck, token});
}

void BoardHost::OnReady(std::uint64_t token) {
  const auto entry = watched_.find(token);
  if (entry == watched_.end()) return;  // closed since it was reported
  if (entry->second.listener) {
    Accept(entry->second);
  } else {
    Receive(token, entry->second);
  }
}

void BoardHost::Accept(Watched &watched) {
  Hosted &hosted = boards_.at(watched.board);
  // The listener reported may have been left for a restart since; one still
  // ready now does not block.
  if (hosted.listener == net::kInvalidSocket || hosted.removing) return;
  if (net::WaitReadable(hosted.listener, 0) == net::WaitResult::Ready) {
    const net::SocketHandle socket = net::AcceptConnection(hosted.listener);
    if (socket == net::kInvalidSocket) {
      acceptPause_ = std::min(acceptPause_ == std::chrono::milliseconds(0) ? kFirstAcceptPause : 2 * acceptPause_,
                              kLastAcceptPause);
      timers_.push({Clock::now() + acceptPause_, hosted.token});
      return;
    }
    acceptPause_ = std::chrono::milliseconds(0);
    const std::uint64_t token = nextToken_++;
    if (!poller_.Watch(socket, false, token)) {  // more than the wait takes
      net::CloseSocket(socket);
    } else {
      watched.board->CountConnection();
      hosted.connections.insert(token);
      Watched &connection = watched_.emplace(token, Watched{watched.board, false, {socket, {}, Clock::now()}}).first->second;
      ScheduleIdleCheck(token, connection);
    }
  }
  poller_.Watch(hosted.listener, false, hosted.token);
}

void BoardHost::Receive(std::uint64_t token, Watched &watched) {
  char chunk[4096];
  const net::Transfer received = net::ReceiveNow(watched.connection.socket, chunk, sizeof chunk);
  if (received.wouldBlock) {
    poller_.Watch(watched.connection.socket, false, token);
    return;
  }
  if (received.failed || received.bytes == 0) {
    Close(token);
    return;
  }
  watched.connection.pending.append(chunk, received.bytes);
  AnswerReceived(token, watched);
}

void BoardHost::AnswerReceived(std::uint64_t token, Watched &watched) {
  RelaySim &board = *watched.board;
  std::optional<Reply> slow;
  const bool open = board.AnswerReceived(watched.connection, slow);
  FollowListener(board, boards_.at(&board));  // a restart may have left it
  if (!open) {
    Close(token);
  } else if (slow) {
    watched.atWorker = true;
    jobs_.push_back({token, &board, watched.connection.socket, std::move(*slow)});
    if (idleWorkers_ < jobs_.size() && workers_.size() < kMaxWorkers) {
      try {
        workers_.emplace_back(&BoardHost::WorkLoop, this);
        ++idleWorkers_;  // counted here, so that the next reply does not start another one for nothing
      } catch (const std::system_error &) {
        if (workers_.empty()) {  // nobody could send it
          jobs_.pop_back();
          watched.atWorker = false;
          Close(token);
          return;
        }
      }
    }
    work_.notify_one();
  } else {
    poller_.Watch(watched.connection.socket, false, token);
  }
}

void BoardHost::FollowListener(RelaySim &board, Hosted &hosted) {
  // A restart closed the listener: forget it before the board listens again,
  // which may well give the new listener the same handle.
  const auto silentUntil = board.SilentUntil();
  const bool left = silentUntil && hosted.listener != net::kInvalidSocket;
  if (left) {
    poller_.Forget(hosted.listener);
    hosted.listener = net::kInvalidSocket;
  }
  const net::SocketHandle listener = board.ListenerNow();
  if (listener != hosted.listener) {
    hosted.listener = listener;
    poller_.Watch(listener, false, hosted.token);
  } else if (left) {  // silent until then
    timers_.push({*silentUntil, hosted.token});
  }
}

void BoardHost::Close(std::uint64_t token) {
  const auto entry = watched_.find(token);
  poller_.Forget(entry->second.connection.socket);
  net::CloseSocket(entry->second.connection.socket);
  boards_.at(entry->second.board).connections.erase(token);
  watched_.erase(entry);
  changed_.notify_all();
}

void BoardHost::WorkLoop() {
  std::unique_lock lock(mutex_);
  for (;;) {
    work_.wait(lock, [this] { return stopping_ || !jobs_.empty(); });
    if (jobs_.empty()) return;
    const Job job = std::move(jobs_.front());
    jobs_.pop_front();
    --idleWorkers_;
    lock.unlock();
    const bool open = job.board->Deliver(job.socket, job.reply);
    lock.lock();
    ++idleWorkers_;
    delivered_.push_back({job.token, open});
    poller_.Wake();
  }
}

}  // namespace relay::sim
