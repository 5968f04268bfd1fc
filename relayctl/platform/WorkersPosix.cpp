#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <iostream>
#include <vector>

#include "Workers.h"

namespace relayctl {
namespace {

struct Worker {
  pid_t pid = -1;
  int pipe = -1;  // the read end of what the worker hands over
  std::size_t index = 0;
  std::string text;
};

void WriteAll(int fd, const std::string &text) {
  std::size_t written = 0;
  while (written < text.size()) {
    const ssize_t n = ::write(fd, text.data() + written, text.size() - written);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return;
    written += static_cast<std::size_t>(n);
  }
}

// Starts job `index` in a child; false when no process could be made.
bool Start(const WorkerJob &job, std::size_t index, const std::function<std::string(std::size_t)> &request,
           Worker &worker) {
  int ends[2];
  if (::pipe(ends) != 0) return false;
  std::cout.flush();
  std::cerr.flush();
  std::fflush(nullptr);
  const pid_t pid = ::fork();
  if (pid < 0) {
    ::close(ends[0]);
    ::close(ends[1]);
    return false;
  }
  if (pid == 0) {
    ::close(ends[0]);
    WriteAll(ends[1], job.run(request(index)));
    ::_exit(0);  // no exit handlers or stream flushes of the parent's copies
  }
  ::close(ends[1]);
  worker = {pid, ends[0], index, {}};
  return true;
}

// Reads what is there; true at the end of the worker's text.
bool ReadSome(Worker &worker) {
  char buffer[4096];
  const ssize_t n = ::read(worker.pipe, buffer, sizeof buffer);
  if (n < 0) return errno != EINTR && errno != EAGAIN;
  if (n == 0) return true;
  worker.text.append(buffer, static_cast<std::size_t>(n));
  return false;
}

}  // namespace

std::size_t RunInWorkers(const WorkerJob &job, std::size_t count, int parallel,
                         const std::function<std::string(std::size_t)> &request,
                         const std::function<void(std::size_t, const std::string &)> &finished,
                         const std::function<bool()> &stop) {
  std::vector<Worker> running;
  std::vector<pollfd> polled;
  std::size_t next = 0;
  const std::size_t most = parallel < 1 ? 1 : static_cast<std::size_t>(parallel);
  for (;;) {
    while (next < count && running.size() < most && !stop()) {
      Worker worker;
      if (!Start(job, next, request, worker)) {
        if (running.empty()) {  // nothing will free a process slot: the job cannot run
          finished(next++, {});
          continue;
        }
        break;
      }
      ++next;
      running.push_back(std::move(worker));
    }
    if (running.empty()) break;
    polled.clear();
    for (const Worker &worker : running) polled.push_back({worker.pipe, POLLIN, 0});
    if (::poll(polled.data(), polled.size(), -1) < 0 && errno != EINTR) {
      polled.front().revents = POLLIN;  // cannot wait on all: read the first one, blocking
    }
    for (std::size_t i = 0; i < running.size(); ++i) {
      Worker &worker = running[i];
      if (polled[i].revents == 0 || !ReadSome(worker)) continue;
      ::close(worker.pipe);
      while (::waitpid(worker.pid, nullptr, 0) < 0 && errno == EINTR) {
      }
      finished(worker.index, worker.text);
      worker.pid = -1;
    }
    std::erase_if(running, [](const Worker &worker) { return worker.pid < 0; });
  }
  return next;
}

// A fork needs no worker mode: it runs the job it was made for at once.
std::optional<int> RunAsWorker(int, char **, const std::vector<const WorkerJob *> &) { return std::nullopt; }

}  // namespace relayctl
