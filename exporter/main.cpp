// relay_exporter: network relay boards for Prometheus, one board per scrape
// (/probe?target=ADDRESS), with drift from a desired state per module.
#include <CLI/CLI.hpp>
#include <cerrno>
#include <cstring>
#include <iostream>

#include "ListenAddress.h"
#include "Launcher.h"
#include "Modules.h"
#include "Probe.h"
#include "Server.h"
#include "Targets.h"

namespace {

constexpr int kExitUsage = 64;

int Fail(const std::string &message) {
  std::cerr << "relay_exporter: " << message << std::endl;
  return kExitUsage;
}

}  // namespace

int main(int argc, char **argv) {
  using namespace relay_exporter;
  CLI::App app{"relay_exporter: network relay boards for Prometheus, one board per scrape"};
  app.set_version_flag("--version", "relay_exporter " RELAY_VERSION);
  std::string listen = kDefaultListenAddress, configPath, allow = kDefaultAllow;
  int maxProbes = 64;
  app.add_option("--web.listen-address", listen, "Address to listen on, HOST:PORT or :PORT for every address")
      ->capture_default_str();
  app.add_option("--config.file", configPath, "Configuration file (JSON) naming the modules and their desired states");
  app.add_option("--allow", allow, "Targets a probe may reach: CIDR blocks joined by commas")->capture_default_str();
  app.add_option("--probe.max-concurrent", maxProbes,
                 "Probes at once, each a worker process; more wait for a slot within their time, else 503")
      ->capture_default_str()
      ->check(CLI::Range(1, kMostProbes));
  app.footer("Endpoints: / (this exporter), /metrics (its own health), /probe?target=ADDRESS[&module=NAME].");
  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError &error) {
    return app.exit(error) == 0 ? 0 : kExitUsage;  // --help and --version give 0
  }

  std::string error;
  const std::optional<ListenAddress> address = ParseListenAddress(listen);
  if (!address) return Fail("--web.listen-address \"" + listen + "\" is not HOST:PORT or :PORT");
  const std::optional<std::vector<Cidr>> allowed = ParseAllowList(allow, error);
  if (!allowed) return Fail("--allow: " + error);
  std::optional<Modules> modules = LoadModules(configPath, error);
  if (!modules) return Fail(error);
  Launcher launcher;
  if (!launcher.Start(ProbeJob(*modules))) return Fail(std::string("cannot start workers: ") + std::strerror(errno));
  ServerOptions options{address->host, address->port, *allowed, allow, std::move(*modules), maxProbes};
  if (!Serve(options, launcher, error)) return Fail(error);
  return 0;
}
