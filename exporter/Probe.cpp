#include "Probe.h"

#include <sys/time.h>

#include <csignal>
#include <nlohmann/json.hpp>

#include "link/ApplyPlan.h"
#include "link/BoardLink.h"
#include "BoardSeries.h"
#include "board/BoardText.h"

namespace relay_exporter {
namespace {

// The worker ends itself when its time is up: SIGALRM, by default, ends the
// process, and the parent then finds no series. The worker inherits the
// signal mask of the thread that made the fork, which blocks SIGINT and
// SIGTERM for the exporter's own handling: it lets every signal through, so
// that the alarm, and a stop of the service, end it. 0 ms: no alarm.
void EndAfter(int ms) {
  std::signal(SIGALRM, SIG_DFL);
  sigset_t none;
  sigemptyset(&none);
  pthread_sigmask(SIG_SETMASK, &none, nullptr);
  itimerval timer{};
  timer.it_value.tv_sec = ms / 1000;
  timer.it_value.tv_usec = (ms % 1000) * 1000;
  setitimer(ITIMER_REAL, &timer, nullptr);
}

std::string EncodeRequest(const ProbeRequest &request) {
  return nlohmann::json{{"address", request.address},
                        {"timeout_ms", request.timeoutMs},
                        {"desired", relayctl::JsonFromBytes(request.desiredState)}}
      .dump();
}

std::string ProbeJob(const std::string &text) {
  const nlohmann::json request = nlohmann::json::parse(text, nullptr, false);
  if (!request.is_object()) return {};
  EndAfter(request.value("timeout_ms", 1));
  relayctl::Outcome failure;
  const std::optional<relayctl::BoardState> board = relayctl::ReadBoard(request.value("address", ""), failure);
  if (!board) return {};
  std::string why;
  const std::string desired = relayctl::BytesFromJson(request.value("desired", ""), why).value_or("");
  std::optional<relayctl::WriteResult> plan;
  if (!desired.empty()) {
    const std::optional<relayctl::Backup> backup = relayctl::ParseBackup(desired, why);  // checked at start
    relayctl::WriteOptions check;
    check.check = true;
    if (backup) plan = relayctl::ApplyBackup(*board, *backup, check);
  }
  std::string series = BoardSeries(*board, plan);
  EndAfter(0);  // no alarm any more: the series is handed over whole
  return series;
}

}  // namespace

const relayctl::WorkerJob kProbeJob{"probe", ProbeJob};

std::optional<std::string> RunProbe(const ProbeRequest &request) {
  std::optional<std::string> series;
  relayctl::RunInWorkers(
      kProbeJob, 1, 1, [&](std::size_t) { return EncodeRequest(request); },
      [&](std::size_t, const std::string &text) {
        if (!text.empty()) series = text;
      },
      [] { return false; });
  return series;
}

}  // namespace relay_exporter
