// The exporter's HTTP side: / (a landing page), /metrics (its own health)
// and /probe?target=ADDRESS[&module=NAME] (one board per scrape).
#pragma once

#include <string>
#include <vector>

#include "Launcher.h"
#include "Modules.h"
#include "Targets.h"

namespace relay_exporter {

inline constexpr int kMostProbes = 1024;

struct ServerOptions {
  std::string host;  // to listen on; "0.0.0.0" for every address
  int port = 0;
  std::vector<Cidr> allowed;
  std::string allowText;  // as given, for messages
  Modules modules;
  int maxProbes = 0;  // at once, 1..kMostProbes; a probe waits for a slot until its deadline, else 503
};

// Listens and answers until SIGINT or SIGTERM, each probe in a worker of
// `launcher`. False with `error` when it cannot listen.
bool Serve(const ServerOptions &options, const Launcher &launcher, std::string &error);

}  // namespace relay_exporter
