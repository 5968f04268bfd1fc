#include "board/AddressRange.h"

#include <charconv>

#include "IntConversion.h"
#include "TextItems.h"
#include "ValueRules.h"
#include "board/BoardText.h"

namespace relayctl {
namespace {

std::optional<unsigned> ParseNumber(std::string_view text, unsigned max) {
  if (text.empty() || text.size() > 3) return std::nullopt;
  unsigned value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size() || value > max) return std::nullopt;
  return value;
}

std::optional<std::vector<std::uint32_t>> Span(std::uint64_t first, std::uint64_t last, std::string_view text,
                                               std::string &error) {
  if (last < first) {
    error = "range " + std::string(text) + " ends before it starts";
    return std::nullopt;
  }
  if (last - first + 1 > kMaxRangeAddresses) {
    error = "range " + std::string(text) + " has " + std::to_string(last - first + 1) +
            " addresses, more than " + std::to_string(kMaxRangeAddresses);
    return std::nullopt;
  }
  std::vector<std::uint32_t> addresses;
  addresses.reserve(static_cast<std::size_t>(last - first + 1));
  for (std::uint64_t address = first; address <= last; ++address) addresses.push_back(static_cast<std::uint32_t>(address));
  return addresses;
}

// One address item by the address rule's conversion: trimmed, decimal (010
// is ten) or hexadecimal, 0..255.
std::optional<unsigned> ParseItem(std::string_view text) {
  try {
    const std::int32_t value = relay::StrToInt(relay::TrimControl(text));
    if (value < 0 || value > 255) return std::nullopt;
    return static_cast<unsigned>(value);
  } catch (const relay::ConversionError &) {
    return std::nullopt;
  }
}

struct Bounds {
  std::uint64_t first, last;
};

// First and last address of the range's text, before any check of its size.
std::optional<Bounds> RangeBounds(std::string_view text) {
  if (const std::size_t slash = text.find('/'); slash != std::string_view::npos) {
    const std::optional<std::uint32_t> base = ParseAddress(text.substr(0, slash));
    const std::optional<unsigned> prefix = ParseNumber(text.substr(slash + 1), 32);
    if (!base || !prefix) return std::nullopt;
    const std::uint64_t size = std::uint64_t{1} << (32 - *prefix);
    const std::uint64_t first = *base & ~(size - 1);
    const std::uint64_t hostsOnly = *prefix <= 30 ? 1 : 0;  // without network and broadcast address
    return Bounds{first + hostsOnly, first + size - 1 - hostsOnly};
  }
  if (const std::size_t dash = text.find('-'); dash != std::string_view::npos) {
    const std::optional<std::uint32_t> first = ParseAddress(text.substr(0, dash));
    if (!first) return std::nullopt;
    const std::string_view end = text.substr(dash + 1);
    std::optional<std::uint32_t> last = ParseAddress(end);
    if (!last) {
      const std::optional<unsigned> lastNumber = ParseItem(end);
      if (!lastNumber) return std::nullopt;
      last = (*first & 0xFFFFFF00u) | *lastNumber;
    }
    return Bounds{*first, *last};
  }
  const std::optional<std::uint32_t> single = ParseAddress(text);
  if (!single) return std::nullopt;
  return Bounds{*single, *single};
}

}  // namespace

std::optional<std::string> NormalBoardAddress(std::string_view text, std::string &error) {
  std::string address(text);
  try {
    if (!relay::IsValidIpAddr(address)) {
      error = "'" + std::string(text) + "' is not an IPv4 address (four numbers 0..255 joined by dots)";
      return std::nullopt;
    }
  } catch (const relay::ConversionError &conversion) {
    error = "'" + std::string(text) + "' is not an IPv4 address: " + conversion.what();
    return std::nullopt;
  }
  if (address == "0.0.0.0" || address == "255.255.255.255") {
    error = "'" + std::string(text) + "' names no board (" + address + ")";
    return std::nullopt;
  }
  return address;
}

std::optional<std::uint32_t> ParseAddress(std::string_view text) {
  std::string address(text);
  try {
    if (!relay::IsValidIpAddr(address)) return std::nullopt;
  } catch (const relay::ConversionError &) {
    return std::nullopt;
  }
  std::uint32_t value = 0;
  for (const std::string &item : relay::SplitItems(address, '.')) value = value << 8 | std::stoul(item);
  return value;
}

std::string FormatAddress(std::uint32_t address) {
  return std::to_string(address >> 24) + "." + std::to_string(address >> 16 & 255) + "." +
         std::to_string(address >> 8 & 255) + "." + std::to_string(address & 255);
}

std::optional<std::vector<std::uint32_t>> ParseRange(std::string_view text, std::string &error) {
  const std::optional<Bounds> bounds = RangeBounds(text);
  if (!bounds) {
    error = "cannot read range '" + std::string(text) +
            "': give a CIDR block (10.0.0.0/24), a range (10.0.0.5-10.0.0.40 or 10.0.0.5-40) or one address";
    return std::nullopt;
  }
  return Span(bounds->first, bounds->last, text, error);
}

std::optional<std::vector<std::string>> ParseAddressList(std::string_view text, std::string &error) {
  text = WithoutByteOrderMark(text);
  std::vector<std::string> addresses;
  int lineNumber = 0;
  while (!text.empty()) {
    const std::size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    ++lineNumber;
    const std::string content = relay::TrimControl(line.substr(0, line.find('#')));
    if (content.empty()) continue;
    std::string reason;
    const std::optional<std::string> address = NormalBoardAddress(content, reason);
    if (!address) {
      error = "line " + std::to_string(lineNumber) + ": " + reason;
      return std::nullopt;
    }
    addresses.push_back(*address);
  }
  return addresses;
}

}  // namespace relayctl
