// Many boards in this one thread: each board's job is a task over contexts of
// its own (relay::DeviceContext) whose steps this engine drives. It waits on
// every board's socket and deadline at once (relay::net::Poller and a timer heap)
// and resumes each step when what it waits for has happened, so a silent
// board costs nothing while it is silent.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <queue>
#include <unordered_map>
#include <utility>
#include <vector>

#include "Task.h"
#include "Waits.h"
#include "platform/Socket.h"

namespace relayctl {

class FleetEngine final : public relay::StepDriver {
 public:
  // The driver to give the jobs' contexts.
  relay::StepDriver *Driver() { return this; }

  // Runs job(i) for i = 0..count-1, at most `parallel` at a time, in index
  // order; each job's result goes to finished(i, result) as soon as it ends.
  // Once `stop()` answers true no further job starts and the pauses of those
  // running end at once; they run to their end. Returns the number of jobs
  // started.
  template <class T>
  std::size_t Run(std::size_t count, std::size_t parallel, const std::function<relay::Task<T>(std::size_t)> &job,
                  const std::function<void(std::size_t, T)> &finished, const std::function<bool()> &stop) {
    return Drive(
        count, parallel,
        [&](std::size_t i) -> std::unique_ptr<Job> { return std::make_unique<TypedJob<T>>(job(i), finished, i); },
        stop);
  }

 private:
  struct Job {
    virtual ~Job() = default;
    virtual void Start() = 0;
    virtual void Finish() = 0;  // hands the result over
  };
  template <class T>
  struct TypedJob final : Job {
    TypedJob(relay::Task<T> task, const std::function<void(std::size_t, T)> &finished, std::size_t index)
        : task(std::move(task)), finished(finished), index(index) {}
    void Start() override { task.Start(); }
    void Finish() override { finished(index, task.Result()); }
    relay::Task<T> task;
    const std::function<void(std::size_t, T)> &finished;
    std::size_t index;
  };
  // A step waiting, by the token of its wait.
  struct Waiting {
    relay::StepDriver::Suspended suspended;
    std::size_t job;
  };
  using Deadline = std::pair<relay::StepClock::time_point, std::uint64_t>;

  std::size_t Drive(std::size_t count, std::size_t parallel,
                    const std::function<std::unique_ptr<Job>(std::size_t)> &make, const std::function<bool()> &stop);
  // After a step of job `index` ran: watches the socket and deadline of the
  // wait it left, or ends the job when the step ended it.
  void AfterStep(std::size_t index);
  // Resumes the step waiting under `token`, if one still is.
  void Resume(std::uint64_t token, bool ready);
  void EndPauses();
  int MillisecondsToNextDeadline();

  relay::net::Poller poller_;
  std::unordered_map<std::uint64_t, Waiting> waiting_;
  std::priority_queue<Deadline, std::vector<Deadline>, std::greater<>> deadlines_;
  std::vector<std::unique_ptr<Job>> running_;  // by job index; null once ended or not started
  std::uint64_t nextToken_ = 1;
  std::size_t jobsRunning_ = 0;
  std::size_t pauses_ = 0;  // steps waiting without a socket
  bool stopping_ = false;
};

// Boards at once for a run over `boards` boards: `parallel`, at most every
// board, and as many as the limit of open files allows (raised when needed,
// relay::net::SocketsAtOnce; each board holds one socket at a time). A lower number
// than asked for is reported.
std::size_t BoardsAtOnce(int parallel, std::size_t boards);

// Runs one job to its end with an engine of its own, for commands on one
// board; `stop` ends its pauses.
template <class T>
T RunAlone(const std::function<relay::Task<T>(relay::StepDriver *)> &job, const std::function<bool()> &stop) {
  FleetEngine engine;
  std::optional<T> result;
  engine.Run<T>(
      1, 1, [&](std::size_t) { return job(engine.Driver()); }, [&](std::size_t, T value) { result = std::move(value); },
      stop);
  return std::move(*result);
}

}  // namespace relayctl
