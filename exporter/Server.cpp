#include "Server.h"

#include <httplib.h>
#include <pthread.h>
#include <sys/socket.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstring>
#include <semaphore>
#include <thread>

#include "BoardSeries.h"
#include "Exposition.h"
#include "Probe.h"
#include "Stats.h"

namespace relay_exporter {
namespace {

// Threads: as many probes as run at once can wait for a slot, and a few more
// keep /metrics, / and the refusals answered while every slot waits on a
// silent board.
constexpr int kSpareThreads = 8;
// Idle keep-alive connections give their thread back soon; busy ones stay.
constexpr int kKeepAliveSeconds = 2;
constexpr int kKeepAliveRequests = 1000;

constexpr char kLandingPage[] = R"(<!DOCTYPE html>
<html lang="en">
<head><meta charset="utf-8"><title>Relay board exporter</title></head>
<body>
<h1>Relay board exporter</h1>
<p>Prometheus exporter for network relay boards: one board per scrape.</p>
<ul>
<li><a href="/metrics">/metrics</a>: the exporter's own health</li>
<li><a href="/probe?target=192.168.1.100">/probe?target=ADDRESS</a>[&amp;module=NAME]: one board</li>
</ul>
</body>
</html>
)";

void Plain(httplib::Response &response, int status, const std::string &message) {
  response.status = status;
  response.set_content(message + "\n", "text/plain; charset=utf-8");
}

class Handlers {
 public:
  Handlers(const ServerOptions &options, const Launcher &launcher)
      : options_(options), launcher_(launcher), slots_(options.maxProbes) {}

  void Probe(const httplib::Request &request, httplib::Response &response) {
    std::string error;
    const std::optional<std::string> address =
        AllowedTarget(request.get_param_value("target"), options_.allowed, options_.allowText, error);
    const std::string module = request.has_param("module") ? request.get_param_value("module") : kDefaultModule;
    const auto found = options_.modules.find(module);
    if (address && found == options_.modules.end()) error = "unknown module \"" + module + "\"";
    if (!address || found == options_.modules.end()) {
      stats_.Refused(400);
      return Plain(response, 400, error);
    }
    using Clock = std::chrono::steady_clock;
    const auto started = Clock::now();
    const auto deadline =
        started + std::chrono::milliseconds(ProbeTimeoutMs(request.get_header_value("X-Prometheus-Scrape-Timeout-Seconds")));
    if (!slots_.try_acquire_until(deadline)) {
      stats_.Refused(503);
      return Plain(response, 503,
                   "too many probes at once (--probe.max-concurrent " + std::to_string(options_.maxProbes) + ")");
    }
    stats_.ProbeStarted();
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now());
    const std::optional<std::string> series =
        launcher_.Run(ProbeRequest(*address, module), static_cast<int>(std::max<long long>(1, left.count())));
    slots_.release();
    const double seconds = std::chrono::duration<double>(Clock::now() - started).count();
    stats_.ProbeFinished(module, series.has_value(), seconds);
    response.set_content(ProbeExposition(series, seconds), kExpositionType);
  }

  void Metrics(const httplib::Request &, httplib::Response &response) {
    response.set_content(stats_.Exposition(), kExpositionType);
  }

 private:
  const ServerOptions &options_;
  const Launcher &launcher_;
  Stats stats_;
  std::counting_semaphore<kMostProbes> slots_;  // a probe waits for one until its deadline
};

}  // namespace

bool Serve(const ServerOptions &options, const Launcher &launcher, std::string &error) {
  // SIGINT and SIGTERM are taken by a thread of their own, which stops the
  // server; every other thread starts with them blocked. SIGPIPE: a scraper
  // that went away is a failed write, not the end of the exporter.
  sigset_t stops;
  sigemptyset(&stops);
  sigaddset(&stops, SIGINT);
  sigaddset(&stops, SIGTERM);
  pthread_sigmask(SIG_BLOCK, &stops, nullptr);
  std::signal(SIGPIPE, SIG_IGN);

  Handlers handlers(options, launcher);
  httplib::Server server;
  const std::size_t threads = static_cast<std::size_t>(2 * options.maxProbes + kSpareThreads);
  server.new_task_queue = [threads] { return new httplib::ThreadPool(threads); };
  server.set_keep_alive_timeout(kKeepAliveSeconds);
  server.set_keep_alive_max_count(kKeepAliveRequests);
  server.set_tcp_nodelay(true);  // the answer's pieces go out at once, not after the scraper's delayed ack
  server.Get("/", [](const httplib::Request &, httplib::Response &response) {
    response.set_content(kLandingPage, "text/html; charset=utf-8");
  });
  server.Get("/metrics", [&](const httplib::Request &request, httplib::Response &response) {
    handlers.Metrics(request, response);
  });
  server.Get("/probe", [&](const httplib::Request &request, httplib::Response &response) {
    handlers.Probe(request, response);
  });
  // cpp-httplib's own options would let a second exporter share the port
  // (SO_REUSEPORT); only a restart's leftover connections may.
  int listener = -1;
  server.set_socket_options([&listener](int socket) {
    const int yes = 1;
    setsockopt(socket, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
    listener = socket;
  });
  if (!server.bind_to_port(options.host, options.port)) {
    error = "cannot listen on " + options.host + ":" + std::to_string(options.port) + ": " + std::strerror(errno);
    return false;
  }
  // Its backlog is 5 connections; a scrape's burst of connections waits in a
  // longer one (listen again changes it).
  ::listen(listener, SOMAXCONN);
  std::thread stopper([&] {
    int signal = 0;
    sigwait(&stops, &signal);
    server.stop();
  });
  server.listen_after_bind();
  pthread_kill(stopper.native_handle(), SIGTERM);  // wakes the stopper when the server ended by itself
  stopper.join();
  return true;
}

}  // namespace relay_exporter
