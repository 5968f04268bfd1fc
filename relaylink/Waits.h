// Where a board's steps wait: for a socket to become readable or writable, or
// for a time, never past a deadline. Without a driver a wait blocks the
// thread, so that the steps run as plain calls (the exports); with one the
// step suspends and the driver resumes it, so that one thread runs the steps
// of many boards (relayctl's fleet engine).
#pragma once

#include <chrono>
#include <coroutine>
#include <optional>
#include <utility>

#include "platform/Socket.h"

namespace relay {

using StepClock = std::chrono::steady_clock;

struct Wait {
  net::SocketHandle socket = net::kInvalidSocket;  // none: a pause until the deadline
  bool writable = false;                           // else readable
  StepClock::time_point deadline;
};

// Runs suspended steps: it starts or resumes a step, and when control comes
// back the step has either ended or left its wait here (one at a time: a step
// runs until it suspends once). The driver then resumes `step` once the
// wait's socket is ready, setting `*ready`, or at its deadline, clearing it; a
// pause (no socket) may end early, as at its deadline, when the driver is
// asked to stop. The wait is left as data rather than handed to a virtual or
// function-pointer call, so the library calls no code of its caller's (its
// sanitizer builds are linked by C programs, without C++ type checks).
class StepDriver {
 public:
  struct Suspended {
    Wait wait;
    std::coroutine_handle<> step;
    bool *ready;
  };

  // The wait the step that ran last left, if it left one; it is taken.
  std::optional<Suspended> TakeSuspended() { return std::exchange(suspended_, std::nullopt); }

 protected:
  StepDriver() = default;
  ~StepDriver() = default;

 private:
  friend class WaitFor;
  std::optional<Suspended> suspended_;
};

// `co_await WaitFor(driver, wait)`: whether the socket became ready before the
// deadline (false at once when the deadline has passed; always false for a
// pause).
class WaitFor {
 public:
  WaitFor(StepDriver *driver, const Wait &wait) : driver_(driver), wait_(wait) {}
  bool await_ready();
  void await_suspend(std::coroutine_handle<> step) { driver_->suspended_ = StepDriver::Suspended{wait_, step, &ready_}; }
  bool await_resume() const { return ready_; }

 private:
  StepDriver *driver_;
  Wait wait_;
  bool ready_ = false;
};

}  // namespace relay
