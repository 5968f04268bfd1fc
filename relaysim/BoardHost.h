// The threads that serve stand-in boards: one waits for connections on the
// listeners of every board it hosts, and a bounded set of workers serves the
// accepted connections, so that a fleet costs no more threads than one board.
#pragma once

#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

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
  // Connections served at once; further ones wait until a worker is free or
  // one of those served has nothing to answer, which then waits in line again.
  static constexpr std::size_t kMaxWorkers = 128;

  BoardHost() = default;
  BoardHost(const BoardHost &) = delete;
  BoardHost &operator=(const BoardHost &) = delete;
  // Every board must have been removed.
  ~BoardHost();

  // Starts accepting on `board`'s listener. False when no thread can be started.
  bool Add(RelaySim &board);
  // Stops accepting for `board`, closes its connections not yet served and
  // waits until those being served are done: the host never touches it again.
  void Remove(RelaySim &board);
  // Waits until every connection accepted for `board` has been served.
  void WaitUntilIdle(RelaySim &board);
  // Whether connections wait in line with no worker free to take them.
  bool ConnectionsWaiting();

 private:
  struct Accepted {
    RelaySim *board;
    Connection connection;
  };

  void AcceptLoop();
  void Queue(RelaySim &board, std::intptr_t connection);
  void WorkLoop();

  std::mutex mutex_;
  std::map<RelaySim *, int> boards_;  // each hosted board: its connections not yet served
  std::deque<Accepted> queue_;        // connections waiting in line for a worker
  std::condition_variable work_;     // a connection queued, or stopping
  std::condition_variable changed_;  // a board added, a connection served, or stopping
  std::size_t idleWorkers_ = 0;
  bool stopping_ = false;
  std::thread acceptor_;
  std::vector<std::thread> workers_;
};

}  // namespace relay::sim
