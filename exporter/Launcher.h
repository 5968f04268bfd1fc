// Worker processes for probes, one per probe, as relayctl reads each board in
// a worker of its own (the library keeps one board's state per process).
// They are forked by a launcher: a small process of one thread, itself forked
// when the exporter starts, before any thread exists. A fork of the
// exporter, with its many connection threads, would cost several times a
// probe, and would copy their locks and connections into every worker.
#pragma once

#include <functional>
#include <optional>
#include <string>

namespace relay_exporter {

class Launcher {
 public:
  // What a worker does with a request, giving its answer.
  using Job = std::function<std::string(const std::string &request)>;

  // Forks the launcher, which runs `job` in each worker; call it before any
  // thread starts. False when it cannot.
  bool Start(Job job);

  // Runs the job on `request` in a new worker that ends after `timeoutMs`
  // at the latest, and waits for it: its answer, or nullopt when the worker
  // ended without one. Safe from any thread.
  std::optional<std::string> Run(const std::string &request, int timeoutMs) const;

 private:
  int socket_ = -1;  // to the launcher
};

}  // namespace relay_exporter
