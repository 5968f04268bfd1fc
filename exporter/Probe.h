// One probe's work in its worker: read the board as relayctl reads it and,
// with a desired state, make the plan of `relayctl apply --check`. Nothing
// is written.
#pragma once

#include <string>

#include "Launcher.h"
#include "Modules.h"

namespace relay_exporter {

// A worker's request: the board's address (in normal form, already allowed)
// and the name of the module (one of the exporter's).
std::string ProbeRequest(const std::string &address, const std::string &module);

// The workers' job over the exporter's `modules`: the board's series
// (BoardSeries.h), or an empty text when the board could not be read.
Launcher::Job ProbeJob(Modules modules);

}  // namespace relay_exporter
