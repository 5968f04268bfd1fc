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

// The address of a board as given by a person, read with the connect
// dialog's rule (trimmed, empty items dropped, 010 is ten) and given back in
// normal form. Nullopt with `error` naming the text when the rule rejects it,
// when an item is not a number, and for 0.0.0.0 and 255.255.255.255, which
// name no board.
std::optional<std::string> NormalBoardAddress(std::string_view text, std::string &error);

// An address by the same rule to a host-order number.
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

// One board address per line (NormalBoardAddress), in normal form; blank
// lines, text after '#' and a UTF-8 byte-order mark at the very start are
// ignored. Nullopt with `error` naming the first bad line.
std::optional<std::vector<std::string>> ParseAddressList(std::string_view text, std::string &error);

}  // namespace relayctl
