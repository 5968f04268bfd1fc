// Runs the relayctl program and captures what it prints, and starts fleets of
// stand-in boards for it on a loopback block of the test's own.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "SimFleet.h"

namespace relayctl::testing {

namespace sim = relay::sim;

struct CtlResult {
  int status = -1;  // exit status, or -1 when it did not exit normally
  std::string out;
  std::string err;
};

// Runs relayctl with `arguments`, in `directory` when one is given, under
// `ulimit LIMITS` when `limits` is given ("-f 1", "-n 40"; POSIX only; the
// test's own limits stay), and its standard output into the file
// `standardOutput` when one is given (then `out` stays empty).
CtlResult RunCtl(const std::vector<std::string> &arguments, const std::string &directory = {},
                 const std::string &limits = {}, const std::string &standardOutput = {});

// relayctl started in the background, for tests that signal it.
class RunningCtl {
 public:
  explicit RunningCtl(const std::vector<std::string> &arguments, const std::string &directory = {},
                      const std::string &limits = {}, const std::string &standardOutput = {});
  RunningCtl(const RunningCtl &) = delete;
  RunningCtl &operator=(const RunningCtl &) = delete;
  ~RunningCtl();
  // Sends `signal` to relayctl's process group, its worker processes
  // included, as a terminal does. POSIX only.
  void Signal(int signal) const;
  CtlResult Finish();  // waits for it to exit

 private:
  std::intptr_t process_ = 0;  // the process id, or on Windows its handle
  std::string outPath_, errPath_;
};

// Boards on consecutive addresses from `first`, models in turn from `models`.
class TestFleet {
 public:
  TestFleet(const std::string &first, int count, const std::vector<std::string> &models,
            const sim::SimOptions &options = {});
  sim::RelaySim &Board(std::size_t index) { return fleet_.Board(index); }
  const std::string &Address(std::size_t index) const { return plan_.at(index).address; }

 private:
  std::vector<sim::FleetBoard> plan_;
  sim::SimFleet fleet_;
};

// A listener with a full accept queue that never accepts: further connection
// attempts are dropped, as by a host that does not answer. POSIX only.
class SilentHost {
 public:
  explicit SilentHost(const std::string &address);
  SilentHost(const SilentHost &) = delete;
  SilentHost &operator=(const SilentHost &) = delete;
  ~SilentHost();

 private:
  int listener_ = -1;
  int filler_ = -1;
};

// A fresh path for a file in the test's temporary directory.
std::string TempPath(const std::string &name);
std::string ReadAll(const std::string &path);
void WriteAll(const std::string &path, const std::string &text);

}  // namespace relayctl::testing
