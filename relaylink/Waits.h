// Where a board's steps wait: for a socket to become readable or writable, or
// for a time, never past a deadline. Without a driver a wait blocks the
// thread, so that the steps run as plain calls (the exports); with one the
// step suspends and the driver resumes it, so that one thread runs the steps
// of many boards (relayctl's fleet engine).
#pragma once

#include <chrono>
#include <coroutine>

#include "platform/Socket.h"

namespace relay {

using StepClock = std::chrono::steady_clock;

struct Wait {
  net::SocketHandle socket = net::kInvalidSocket;  // none: a pause until the deadline
  bool writable = false;                           // else readable
  StepClock::time_point deadline;
};

// Runs suspended steps: resumes `step` once the socket of `wait` is ready,
// setting `ready`, or at its deadline, clearing it. A pause (no socket) may
// end early, as at its deadline, when the driver is asked to stop.
class StepDriver {
 public:
  virtual void Suspend(const Wait &wait, std::coroutine_handle<> step, bool &ready) = 0;

 protected:
  ~StepDriver() = default;
};

// `co_await WaitFor(driver, wait)`: whether the socket became ready before the
// deadline (false at once when the deadline has passed; always false for a
// pause).
class WaitFor {
 public:
  WaitFor(StepDriver *driver, const Wait &wait) : driver_(driver), wait_(wait) {}
  bool await_ready();
  void await_suspend(std::coroutine_handle<> step) { driver_->Suspend(wait_, step, ready_); }
  bool await_resume() const { return ready_; }

 private:
  StepDriver *driver_;
  Wait wait_;
  bool ready_ = false;
};

}  // namespace relay
