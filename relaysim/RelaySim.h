// The stand-in device: a TCP server on one address and port 5111 that speaks
// the board's protocol. Usable in-process by tests and by the relaysim program.
#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "BoardHost.h"
#include "SimBoard.h"

namespace relay::sim {

class RelaySim {
 public:
  // Receives every frame received ("<- ...") and reply sent ("-> ...").
  using TraceSink = std::function<void(const std::string &line)>;

  // A board with a host of its own.
  explicit RelaySim(BoardConfig config = {}, SimOptions options = {});
  // A board served by `host` together with others; `host` must outlive it.
  RelaySim(BoardHost &host, BoardConfig config, SimOptions options);
  RelaySim(const RelaySim &) = delete;
  RelaySim &operator=(const RelaySim &) = delete;
  ~RelaySim();

  // Starts listening on `address` (a 127.x.y.z text) and `port`. False when
  // the address cannot be bound.
  bool Start(const std::string &address, std::uint16_t port = 5111);

  // Starts on a free loopback address 127.a.b.c picked at random, so that
  // tests running in parallel each get their own board. Returns the address.
  std::string StartOnFreeLoopback(std::uint16_t port = 5111);

  // Stops listening, ends the connections being served and returns once the
  // host's threads no longer use this board.
  void Stop();

  // Waits until every accepted connection has been served to its end: the
  // host's threads may see a client's close after the client is done.
  void WaitUntilIdle();

  std::string Address() const;
  std::vector<std::string> Frames() const;  // every frame received, in order
  void ClearFrames();
  BoardConfig Config() const;
  void SetConfig(const BoardConfig &config);
  void SetOptions(const SimOptions &options);
  int Restarts() const;
  int Connections() const;  // connections accepted so far
  void SetTrace(TraceSink sink);

 private:
  friend class BoardHost;
  // For the host: the listener to accept on now, listening again where the
  // restart asked once its silence is over (none meanwhile), and when that is.
  std::intptr_t ListenerNow();
  std::optional<std::chrono::steady_clock::time_point> SilentUntil() const;
  // Under mutex_, on an acknowledged restart: leaves the listener, for the
  // silence or to move to the board's new ip.
  void BeginRestart();
  void CountConnection();
  int IdleLimitMs() const;
  // Answers the complete frames received on `connection` in turn, up to one
  // whose reply takes its time, which it leaves in `slow` for a worker to
  // Deliver. Whether the connection stays open.
  bool AnswerReceived(Connection &connection, std::optional<Reply> &slow);
  // Records one frame and decides its reply, applying what it writes.
  Reply Decide(const std::string &frame);
  // Sends a decided reply, after its pause; false when the connection is to be closed.
  bool Deliver(std::intptr_t connection, const Reply &reply);
  bool SendWithFault(std::intptr_t connection, const std::string &reply, std::optional<FaultKind> fault);
  bool Send(std::intptr_t connection, const std::string &text);
  void Trace(const std::string &line);

  mutable std::mutex mutex_;
  BoardConfig config_;
  SimOptions options_;
  std::vector<std::string> frames_;
  std::string address_;
  std::uint16_t port_ = 5111;
  int restarts_ = 0;
  int connections_ = 0;
  TraceSink trace_;
  std::intptr_t listener_ = -1;
  std::optional<std::chrono::steady_clock::time_point> silentUntil_;  // listening again then
  std::string nextAddress_;                                           // at this address
  std::atomic<bool> running_{false};
  std::unique_ptr<BoardHost> ownHost_;
  BoardHost &host_;
};

}  // namespace relay::sim
