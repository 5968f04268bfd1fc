#include "Stats.h"

#include <charconv>

#include "Exposition.h"

namespace relay_exporter {

void Stats::ProbeStarted() {
  const std::lock_guard lock(mutex_);
  ++inFlight_;
}

void Stats::ProbeFinished(const std::string &module, bool up, double seconds) {
  const std::lock_guard lock(mutex_);
  --inFlight_;
  PerModule &counts = modules_[module];
  ++counts.probes;
  if (!up) ++counts.failures;
  for (std::size_t i = 0; i < kBuckets.size(); ++i) {
    if (seconds <= kBuckets[i]) {
      ++buckets_[i];
      break;
    }
  }
  ++count_;
  sum_ += seconds;
}

void Stats::Refused(int httpStatus) {
  const std::lock_guard lock(mutex_);
  ++refused_[httpStatus];
}

std::string Stats::Exposition() const {
  const std::lock_guard lock(mutex_);
  std::string out = Family("relay_exporter_build_info", "gauge", "The exporter's version; always 1") +
                    Sample("relay_exporter_build_info", {{"version", RELAY_VERSION}}, 1);
  out += Family("relay_exporter_probes_total", "counter", "Probes answered, by module");
  for (const auto &[module, counts] : modules_) out += Sample("relay_exporter_probes_total", {{"module", module}}, counts.probes);
  out += Family("relay_exporter_probe_failures_total", "counter", "Probes whose board did not answer, by module");
  for (const auto &[module, counts] : modules_) {
    out += Sample("relay_exporter_probe_failures_total", {{"module", module}}, counts.failures);
  }
  out += Family("relay_exporter_probe_duration_seconds", "histogram", "How long probes took");
  unsigned long long cumulative = 0;
  for (std::size_t i = 0; i < kBuckets.size(); ++i) {
    cumulative += buckets_[i];
    char bound[32];
    const auto end = std::to_chars(bound, bound + sizeof bound, kBuckets[i]).ptr;
    out += Sample("relay_exporter_probe_duration_seconds_bucket", {{"le", std::string(bound, end)}}, cumulative);
  }
  out += Sample("relay_exporter_probe_duration_seconds_bucket", {{"le", "+Inf"}}, count_) +
         Sample("relay_exporter_probe_duration_seconds_sum", {}, sum_) +
         Sample("relay_exporter_probe_duration_seconds_count", {}, count_);
  out += Family("relay_exporter_probes_in_flight", "gauge", "Probes running now") +
         Sample("relay_exporter_probes_in_flight", {}, inFlight_);
  out += Family("relay_exporter_requests_refused_total", "counter",
                "Probe requests refused, by HTTP status (400 a bad target or module, 503 too many probes at once)");
  for (const int status : {400, 503}) {
    const auto found = refused_.find(status);
    out += Sample("relay_exporter_requests_refused_total", {{"code", std::to_string(status)}},
                  found == refused_.end() ? 0 : found->second);
  }
  return out;
}

}  // namespace relay_exporter
