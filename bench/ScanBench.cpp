// relayctl's scan of a /24 on loopback: with 16 stand-in boards among the
// addresses, and with every address silent (a host that drops connection
// attempts), which should take about one connect bound rather than 254.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <benchmark/benchmark.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "DeviceLink.h"
#include "SimFleet.h"
#include "board/AddressRange.h"
#include "link/Prober.h"
#include "link/ScanResult.h"

namespace {

constexpr char kRequest[] = "#11234;";

std::vector<std::uint32_t> Range(const std::string &text) {
  std::string error;
  const auto addresses = relayctl::ParseRange(text, error);
  if (!addresses) throw std::runtime_error(error);
  return *addresses;
}

void BM_ScanWithSixteenBoards(benchmark::State &state) {
  const auto plan = relay::sim::PlanFleet(relay::sim::BoardConfig{}, 16, "127.79.1.10", {"remote", "keys", "basic"});
  relay::sim::SimFleet fleet;
  if (!plan || !fleet.Start(*plan)) throw std::runtime_error("cannot start the fleet on 127.79.1.x");
  const std::vector<std::uint32_t> addresses = Range("127.79.1.0/24");
  std::size_t found = 0;
  for (auto _ : state) {
    found = relayctl::Identify(relayctl::Probe(addresses, kRequest, {}, nullptr, nullptr)).boards.size();
  }
  state.counters["boards"] = static_cast<double>(found);
}
BENCHMARK(BM_ScanWithSixteenBoards)->Unit(benchmark::kMillisecond);

// A listener with a full accept queue that never accepts: the kernel drops
// further connection attempts, as a host that does not answer would.
class SilentHost {
 public:
  explicit SilentHost(std::uint32_t address) {
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_port = htons(relay::DevicePort);
    addr.sin_addr.s_addr = htonl(address);
    listener_ = socket(AF_INET, SOCK_STREAM, 0);
    if (bind(listener_, reinterpret_cast<sockaddr *>(&addr), sizeof addr) != 0 || listen(listener_, 0) != 0) {
      throw std::runtime_error("cannot listen on " + relayctl::FormatAddress(address));
    }
    filler_ = socket(AF_INET, SOCK_STREAM, 0);
    if (connect(filler_, reinterpret_cast<sockaddr *>(&addr), sizeof addr) != 0) throw std::runtime_error("fill");
  }
  SilentHost(SilentHost &&other) noexcept : listener_(other.listener_), filler_(other.filler_) {
    other.listener_ = other.filler_ = -1;
  }
  ~SilentHost() {
    if (filler_ >= 0) close(filler_);
    if (listener_ >= 0) close(listener_);
  }

 private:
  int listener_ = -1;
  int filler_ = -1;
};

void BM_ScanWithEveryAddressSilent(benchmark::State &state) {
  const std::vector<std::uint32_t> addresses = Range("127.79.2.0/24");
  std::vector<SilentHost> hosts;
  for (const std::uint32_t address : addresses) hosts.emplace_back(address);
  relayctl::ProbeOptions options;  // 500 ms per address, 256 at once
  for (auto _ : state) benchmark::DoNotOptimize(relayctl::Probe(addresses, kRequest, options, nullptr, nullptr));
  state.counters["connect_bound_ms"] = options.connectTimeoutMs;
}
BENCHMARK(BM_ScanWithEveryAddressSilent)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace

BENCHMARK_MAIN();
