// The threads that serve stand-in boards: one event loop waits on the
// listeners and connections of every board it hosts, answers frames as they
// arrive and has a board listen again when its restart's silence is over, so
// that each board costs the same however large the fleet; a bounded set of
// workers sends the replies that take their time (a reply delay, pauses
// between pieces, a huge reply), so that those stall no other connection.
#pragma once

#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>
#include <queue>
#include <set>
#include <string>
#include <thread>
#include <unordered_map>
#include <vector>

#include "SimBoard.h"
#include "Socket.h"

namespace relay::sim {

class RelaySim;

// An accepted connection and what its board keeps of it between frames.
struct Connection {
  std::intptr_t socket;
  std::string pending;                              // received bytes of a frame not yet complete
  std::chrono::steady_clock::time_point lastFrame;  // its last complete frame, or its acceptance
};

class BoardHost {
 public:
  // Replies that take their time sent at once; further ones wait in line.
  static constexpr std::size_t kMaxWorkers = 128;

  BoardHost() = default;
  BoardHost(const BoardHost &) = delete;
  BoardHost &operator=(const BoardHost &) = delete;
  // Every board must have been removed.
  ~BoardHost();

  // Starts accepting on `board`'s listener. False when no thread can be started.
  bool Add(RelaySim &board);
  // Stops accepting for `board`, closes its connections and waits until the
  // replies being sent to them are done: the host never touches it again.
  void Remove(RelaySim &board);
  // Waits until every connection accepted for `board` has been served.
  void WaitUntilIdle(RelaySim &board);

 private:
  using Clock = std::chrono::steady_clock;

  // A hosted board: the token its listener is watched with, that listener
  // (none while the board is silent) and the tokens of its open connections.
  struct Hosted {
    std::uint64_t token;
    std::intptr_t listener = net::kInvalidSocket;
    std::set<std::uint64_t> connections;
    bool removing = false;
  };
  // What a token stands for: a board's listener, or one of its connections.
  struct Watched {
    RelaySim *board;
    bool listener;
    Connection connection;
    bool atWorker = false;           // a worker sends it a reply
    Clock::time_point idleCheck{};   // when its idle limit is looked at next
  };
  // A board's listener to look at again, or a connection's idle limit.
  struct Timer {
    Clock::time_point due;
    std::uint64_t token;
    bool operator>(const Timer &other) const { return due > other.due; }
  };
  struct Job {
    std::uint64_t token;
    RelaySim *board;
    std::intptr_t socket;
    Reply reply;
  };
  struct Delivered {
    std::uint64_t token;
    bool open;
  };

  // The loop and its steps, all under mutex_ but for the wait.
  void Loop();
  void TakeRequests();
  void RunTimers();
  void OnReady(std::uint64_t token);
  void Accept(Watched &watched);
  void Receive(std::uint64_t token, Watched &watched);
  void AnswerReceived(std::uint64_t token, Watched &watched);
  void FollowListener(RelaySim &board, Hosted &hosted);
  void ScheduleIdleCheck(std::uint64_t token, Watched &watched);
  void Close(std::uint64_t token);
  void FinishRemovalWhenDone(RelaySim &board);
  void WorkLoop();

  std::mutex mutex_;
  std::condition_variable work_;     // a reply to send, or stopping
  std::condition_variable changed_;  // a board removed, a connection closed
  net::Poller poller_;
  std::unordered_map<RelaySim *, Hosted> boards_;
  std::unordered_map<std::uint64_t, Watched> watched_;
  std::priority_queue<Timer, std::vector<Timer>, std::greater<>> timers_;
  std::uint64_t nextToken_ = 0;
  std::vector<RelaySim *> added_;     // boards whose listeners the loop is to watch
  std::vector<RelaySim *> removing_;  // boards the loop is to let go
  std::deque<Job> jobs_;              // replies waiting for a worker
  std::vector<Delivered> delivered_;  // replies the workers have sent
  std::chrono::milliseconds acceptPause_{0};
  std::size_t idleWorkers_ = 0;
  bool stopping_ = false;
  std::thread loop_;
  std::vector<std::thread> workers_;
};

}  // namespace relay::sim
