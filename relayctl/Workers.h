// Jobs run in worker processes of their own, several at a time. The library
// keeps one board's state per process, so each board's read and save run in
// a worker and never share a library state with another board's.
#pragma once

#include <cstddef>
#include <functional>
#include <string>

namespace relayctl {

// Runs `job(i)` for i = 0..count-1, each in a child process, at most
// `parallel` at a time, in index order. The text a job returns is handed to
// `finished(i, text)` in this process as soon as that job ends, in the order
// the jobs end; a worker that ended without handing its text over gives an
// empty text. Once `stop()` answers true no further job is started, and the
// running ones are waited for. Returns the number of jobs started.
std::size_t RunInWorkers(std::size_t count, int parallel, const std::function<std::string(std::size_t)> &job,
                         const std::function<void(std::size_t, const std::string &)> &finished,
                         const std::function<bool()> &stop);

}  // namespace relayctl
