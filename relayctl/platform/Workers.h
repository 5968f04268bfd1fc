// Jobs run in worker processes of their own, several at a time. The library
// keeps one board's state per process, so each board's read and save run in
// a worker and never share a library state with another board's. On POSIX a
// worker is a fork of this process; on Windows it is this program started
// anew in a hidden worker mode, which gets its request through standard input
// and hands its result back through standard output.
#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace relayctl {

// A kind of job: a name that every relayctl process knows it by, and what a
// worker does with a request text, giving the result text.
struct WorkerJob {
  const char *name;
  std::string (*run)(const std::string &request);
};

// Runs `job` on `request(i)` for i = 0..count-1, each in a worker process, at
// most `parallel` at a time, in index order. The text a job returns is handed
// to `finished(i, text)` in this process as soon as that job ends, in the
// order the jobs end; a worker that ended without handing its text over gives
// an empty text. Once `stop()` answers true no further job is started, and
// the running ones are waited for. Returns the number of jobs started.
std::size_t RunInWorkers(const WorkerJob &job, std::size_t count, int parallel,
                         const std::function<std::string(std::size_t)> &request,
                         const std::function<void(std::size_t, const std::string &)> &finished,
                         const std::function<bool()> &stop);

// The worker mode, for main before anything else: when this process was
// started as a worker, runs the one of `jobs` it was started for and gives
// the process's exit status; otherwise (always on POSIX) nullopt.
std::optional<int> RunAsWorker(int argc, char **argv, const std::vector<const WorkerJob *> &jobs);

}  // namespace relayctl
