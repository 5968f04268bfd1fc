// The exporter's own health for /metrics: probes per module, failed probes,
// how long probes took, probes in flight and requests refused. Safe from any
// thread.
#pragma once

#include <array>
#include <map>
#include <mutex>
#include <string>

namespace relay_exporter {

class Stats {
 public:
  // Upper bounds of the probe duration histogram, in seconds.
  static constexpr std::array<double, 11> kBuckets = {0.005, 0.01, 0.025, 0.05, 0.1, 0.25, 0.5, 1, 2.5, 5, 10};

  void ProbeStarted();
  void ProbeFinished(const std::string &module, bool up, double seconds);
  void Refused(int httpStatus);

  // The exposition text of it all.
  std::string Exposition() const;

 private:
  struct PerModule {
    unsigned long long probes = 0, failures = 0;
  };
  mutable std::mutex mutex_;
  std::map<std::string, PerModule> modules_;
  std::array<unsigned long long, kBuckets.size()> buckets_{};  // not cumulative
  unsigned long long count_ = 0;
  double sum_ = 0;
  int inFlight_ = 0;
  std::map<int, unsigned long long> refused_;  // by HTTP status
};

}  // namespace relay_exporter
