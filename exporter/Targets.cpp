#include "Targets.h"

#include <algorithm>
#include <charconv>
#include <cmath>

#include "board/AddressRange.h"

namespace relay_exporter {
namespace {

// The address when `text` is one in normal form.
std::optional<std::uint32_t> NormalAddress(std::string_view text) {
  const std::optional<std::uint32_t> address = relayctl::ParseAddress(text);
  if (!address || relayctl::FormatAddress(*address) != text) return std::nullopt;
  return address;
}

std::uint32_t Mask(int prefix) { return prefix == 0 ? 0 : ~std::uint32_t{0} << (32 - prefix); }

}  // namespace

std::optional<std::vector<Cidr>> ParseAllowList(std::string_view text, std::string &error) {
  std::vector<Cidr> blocks;
  for (std::size_t start = 0; start <= text.size();) {
    const std::size_t end = std::min(text.find(',', start), text.size());
    const std::string_view block = text.substr(start, end - start);
    start = end + 1;
    const std::size_t slash = block.find('/');
    Cidr cidr;
    const std::string_view bits = slash == std::string_view::npos ? "" : block.substr(slash + 1);
    const auto [rest, failure] = std::from_chars(bits.data(), bits.data() + bits.size(), cidr.prefix);
    const std::optional<std::uint32_t> network = NormalAddress(block.substr(0, slash));
    if (bits.empty() || failure != std::errc() || rest != bits.data() + bits.size() || cidr.prefix < 0 ||
        cidr.prefix > 32 || !network || (*network & ~Mask(cidr.prefix)) != 0) {
      error = "\"" + std::string(block) + "\" is no CIDR block (such as 10.0.0.0/8)";
      return std::nullopt;
    }
    cidr.network = *network;
    blocks.push_back(cidr);
  }
  return blocks;
}

std::optional<std::string> AllowedTarget(std::string_view target, const std::vector<Cidr> &allowed,
                                         std::string_view allowText, std::string &error) {
  if (target.empty()) {
    error = "target parameter is missing";
    return std::nullopt;
  }
  const std::optional<std::uint32_t> address = NormalAddress(target);
  if (!address) {
    error = "target \"" + std::string(target) + "\" is not an IPv4 address (four numbers 0..255 joined by dots)";
    return std::nullopt;
  }
  const bool inside = std::any_of(allowed.begin(), allowed.end(), [&](const Cidr &cidr) {
    return (*address & Mask(cidr.prefix)) == cidr.network;
  });
  if (!inside) {
    error = "target " + std::string(target) + " is outside the allowed ranges (--allow " + std::string(allowText) + ")";
    return std::nullopt;
  }
  return std::string(target);
}

int ProbeTimeoutMs(std::string_view scrapeTimeoutHeader) {
  double seconds = 0;
  const char *end = scrapeTimeoutHeader.data() + scrapeTimeoutHeader.size();
  const auto [rest, failure] = std::from_chars(scrapeTimeoutHeader.data(), end, seconds);
  if (scrapeTimeoutHeader.empty() || failure != std::errc() || rest != end || !std::isfinite(seconds)) {
    return kDefaultProbeMs;
  }
  return static_cast<int>(std::clamp(seconds * 1000 - kTimeoutOffsetMs, double{kShortestProbeMs}, 3600e3));
}

}  // namespace relay_exporter
