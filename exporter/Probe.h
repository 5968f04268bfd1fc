// One probe: the board read in a worker process of its own, as relayctl
// reads boards (the library keeps one board's state per process), and with
// a desired state the plan of `relayctl apply --check`. Nothing is written.
#pragma once

#include <optional>
#include <string>

#include "platform/Workers.h"

namespace relay_exporter {

struct ProbeRequest {
  std::string address;       // in normal form, already allowed
  int timeoutMs = 0;         // the worker ends by then, answered or not
  std::string desiredState;  // a backup's text; empty for a plain read
};

// The job the worker runs: gives the board's series (BoardSeries.h), or an
// empty text when the board could not be read.
extern const relayctl::WorkerJob kProbeJob;

// Runs the probe in a worker and waits for it: the board's series, or
// nullopt when the board did not answer (or not within the time).
std::optional<std::string> RunProbe(const ProbeRequest &request);

}  // namespace relay_exporter
