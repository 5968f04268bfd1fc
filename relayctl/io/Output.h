// Standard output and standard error watched for writes that fail: data or
// messages that did not arrive (a full disk, a closed pipe) must not end as a
// success.
#pragma once

#include <memory>

#include "ExitStatus.h"

namespace relayctl {

// From construction to destruction, std::cout and std::cerr write through
// watches that note the system's reason for the first write that fails on
// each; destruction puts the streams' own buffers back.
class WatchedOutput {
 public:
  WatchedOutput();
  ~WatchedOutput();
  WatchedOutput(const WatchedOutput &) = delete;
  WatchedOutput &operator=(const WatchedOutput &) = delete;

  // Flushes both streams. When a write to either has failed (through the
  // streams or the C library's stdout and stderr), reports it on standard
  // error, where it still can, and gives Worse(status, kExitOutput);
  // otherwise `status`.
  ExitStatus Checked(ExitStatus status);

 private:
  class Watch;
  std::unique_ptr<Watch> out_, err_;
};

}  // namespace relayctl
