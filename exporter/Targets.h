// Which targets a probe may connect to, and for how long. Pure.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace relay_exporter {

// The private networks of RFC 1918, where boards live.
inline constexpr char kDefaultAllow[] = "10.0.0.0/8,172.16.0.0/12,192.168.0.0/16";

struct Cidr {
  std::uint32_t network = 0;  // host order, host bits zero
  int prefix = 0;             // 0..32
};

// "10.0.0.0/8,192.168.1.0/24": CIDR blocks joined by commas, each address in
// normal form with no host bits set. Nullopt with `error` naming the block
// otherwise.
std::optional<std::vector<Cidr>> ParseAllowList(std::string_view text, std::string &error);

// The target of a probe when it is an IPv4 address in normal form
// (four numbers 0..255 joined by dots) inside one of the `allowed` blocks;
// nullopt with `error` the message for the scraper otherwise. `allowText` is
// the list as given, for the message.
std::optional<std::string> AllowedTarget(std::string_view target, const std::vector<Cidr> &allowed,
                                         std::string_view allowText, std::string &error);

// A probe's time: the scrape's timeout (X-Prometheus-Scrape-Timeout-Seconds,
// empty when not sent) less kTimeoutOffsetMs so that the answer reaches
// Prometheus in time, at least kShortestProbeMs; kDefaultProbeMs when the
// header is missing or no number.
inline constexpr int kDefaultProbeMs = 10000;
inline constexpr int kTimeoutOffsetMs = 500;
inline constexpr int kShortestProbeMs = 100;
int ProbeTimeoutMs(std::string_view scrapeTimeoutHeader);

}  // namespace relay_exporter
