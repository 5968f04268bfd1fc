// --web.listen-address: "HOST:PORT", or ":PORT" for every address. Pure.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace relay_exporter {

// Outside Prometheus' port allocations for exporters (9100-9999, all taken).
inline constexpr char kDefaultListenAddress[] = ":10511";

struct ListenAddress {
  std::string host;  // "0.0.0.0" for ":PORT"
  int port = 0;      // 1..65535
};

std::optional<ListenAddress> ParseListenAddress(std::string_view text);

}  // namespace relay_exporter
