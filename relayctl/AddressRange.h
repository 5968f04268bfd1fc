// IPv4 addresses as numbers, address ranges for `scan`, and lists of
// addresses for `apply --to-list`. Pure text handling.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace relayctl {

inline constexpr std::uint64_t kMaxRangeAddresses = 65536;

// A dotted quad of four decimal numbers 0..255 to a host-order number.
std::optional<std::uint32_t> ParseAddress(std::string_view text);
std::string FormatAddress(std::uint32_t address);

// The addresses of a range, in ascending order. Forms:
//   10.0.0.0/24        a CIDR block; up to /30 its first (network) and last
//                      (broadcast) addresses are left out
//   10.0.0.5-10.0.1.9  every address from the first to the last
//   10.0.0.5-40        the same within the last number
//   10.0.0.5           one address
// At most kMaxRangeAddresses. Nullopt with `error` set otherwise.
std::optional<std::vector<std::uint32_t>> ParseRange(std::string_view text, std::string &error);

// One address per line; blank lines and text after '#' are ignored, so are
// spaces around an address. Nullopt with `error` naming the first bad line.
std::optional<std::vector<std::string>> ParseAddressList(std::string_view text, std::string &error);

}  // namespace relayctl
