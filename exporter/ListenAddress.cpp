#include "ListenAddress.h"

#include <charconv>

namespace relay_exporter {

std::optional<ListenAddress> ParseListenAddress(std::string_view text) {
  const std::size_t colon = text.rfind(':');
  if (colon == std::string_view::npos) return std::nullopt;
  ListenAddress address;
  const std::string_view port = text.substr(colon + 1);
  const auto [rest, failure] = std::from_chars(port.data(), port.data() + port.size(), address.port);
  if (port.empty() || failure != std::errc() || rest != port.data() + port.size() || address.port < 1 ||
      address.port > 65535) {
    return std::nullopt;
  }
  address.host = colon == 0 ? "0.0.0.0" : std::string(text.substr(0, colon));
  return address;
}

}  // namespace relay_exporter
